// Saving and restoring the main window's placement and stored controls through the INI store.
#include "app/FormStorage.h"
#include "app/ErrorBox.h"
#include "app/MainWindow.h"
#include "data/Files.h"
#include "data/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <exception>
#include <optional>
#include <vector>

namespace {

// Window placement flags and show codes as the file keeps them.
constexpr int RestoreToMaximized = 2;
constexpr int ShowNormal = 1;
constexpr int ShowMinimized = 2;
constexpr int ShowMaximized = 3;

std::string Std(const QString& text) { return text.toStdString(); }

// The whole text as a decimal integer, or nothing.
std::optional<int> ToInt(const std::string& text)
{
    bool ok = false;
    int value = QString::fromStdString(Trim(text)).toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

int ReadInteger(const IniFile& ini, const std::string& section, const std::string& key, int defaultValue)
{
    auto text = ini.Read(section, key);
    return text ? ToInt(*text).value_or(defaultValue) : defaultValue;
}

// "%d,%d,%d,%d", or nothing when the text is not four integers.
std::optional<std::vector<int>> FourInts(const std::string& text)
{
    const QStringList parts = QString::fromStdString(text).split(',');
    if (parts.size() != 4)
        return std::nullopt;
    std::vector<int> values;
    for (const QString& part : parts) {
        auto value = ToInt(Std(part));
        if (!value)
            return std::nullopt;
        values.push_back(*value);
    }
    return values;
}

QString FourText(int a, int b, int c, int d) { return QString("%1,%2,%3,%4").arg(a).arg(b).arg(c).arg(d); }

struct ScreenInfo {
    QSize size;
    int pixelsPerInch;
};

ScreenInfo CurrentScreen()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {QSize(0, 0), 96};
    return {screen->size(), qRound(screen->logicalDotsPerInchY())};
}

QString SizeSuffix(const ScreenInfo& screen)
{
    return QString("(%1x%2)").arg(screen.size.width()).arg(screen.size.height());
}

// A key read with the current screen's size suffix first, then without it.
std::optional<std::string> ReadPosition(const IniFile& ini, const std::string& section, const QString& key,
                                        const ScreenInfo& screen)
{
    if (auto value = ini.Read(section, Std(key + SizeSuffix(screen))))
        return value;
    return ini.Read(section, Std(key));
}

// A stored rectangle as the screens can show it: one larger than the primary screen is cut to
// its size and placed on it, as is one that lies off every screen (a file from another set of
// screens, or edited by hand).
std::optional<QRect> OnScreen(qint64 left, qint64 top, qint64 width, qint64 height)
{
    QScreen* primary = QGuiApplication::primaryScreen();
    if (!primary)
        return std::nullopt;
    const QRect area = primary->availableGeometry();
    const bool tooLarge = width > area.width() || height > area.height();
    width = std::min<qint64>(width, area.width());
    height = std::min<qint64>(height, area.height());
    bool onSomeScreen = false;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect shown = screen->availableGeometry();
        onSomeScreen = onSomeScreen || (left < qint64(shown.x()) + shown.width() && left + width > shown.x() &&
                                        top < qint64(shown.y()) + shown.height() && top + height > shown.y());
    }
    if (tooLarge || !onSomeScreen) {
        left = std::clamp<qint64>(left, area.x(), qint64(area.x()) + area.width() - width);
        top = std::clamp<qint64>(top, area.y(), qint64(area.y()) + area.height() - height);
    }
    return QRect(int(left), int(top), int(width), int(height));
}

// The controls a stored property can name, by their names in the window.
QWidget* Control(TVorkatMainForm& form, const QString& name)
{
    const std::pair<const char*, QWidget*> controls[] = {
        {"OldDBName", form.OldDBName}, {"NewDBName", form.NewDBName}, {"DomainBox", form.DomainBox},
        {"ExpBox", form.ExpBox},       {"GenBox", form.GenBox},       {"UDFBox", form.UDFBox},
        {"TableBox", form.TableBox},   {"IndexBox", form.IndexBox},   {"SPBox", form.SPBox},
        {"TrigBox", form.TrigBox},     {"RepairBox", form.RepairBox}, {"ScriptBox", form.ScriptBox},
        {"ReportBox", form.ReportBox}, {"CompleteBox", form.CompleteBox}};
    for (const auto& [controlName, widget] : controls)
        if (name == controlName)
            return widget;
    return nullptr;
}

QString BoolText(bool value) { return value ? "True" : "False"; }

// The property's value as text, as a restore uses it for the default; nothing for an unknown one.
std::optional<QString> PropertyText(QWidget* control, const QString& property)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && property == "Checked")
        return BoolText(button->isChecked());
    if (auto* field = qobject_cast<FileField*>(control); field && property == "FileName")
        return field->FileName();
    return std::nullopt;
}

// The property's value as a save writes it: a file field gives the name a run would take.
std::optional<QString> PropertyToSave(QWidget* control, const QString& property)
{
    if (auto* field = qobject_cast<FileField*>(control); field && property == "FileName")
        return QString::fromStdString(DatabaseNameFromField(Std(field->FileName())));
    return PropertyText(control, property);
}

void SetChecked(QAbstractButton& button, bool checked)
{
    // A selected radio button of a group cannot be cleared while it keeps the group exclusive.
    const bool exclusive = button.autoExclusive();
    if (!checked && exclusive)
        button.setAutoExclusive(false);
    button.setChecked(checked);
    button.setAutoExclusive(exclusive);
}

bool ValidFileName(const QString& text)
{
    const std::string name = DatabaseNameFromField(Std(text));
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (c < 32)
            return false;
    return true;
}

// Sets the property from the stored text; a text it cannot take leaves it unchanged.
void SetProperty(QWidget* control, const QString& property, const QString& text)
{
    if (auto* button = qobject_cast<QAbstractButton*>(control); button && property == "Checked") {
        if (text.compare("True", Qt::CaseInsensitive) == 0)
            SetChecked(*button, true);
        else if (text.compare("False", Qt::CaseInsensitive) == 0)
            SetChecked(*button, false);
        return;
    }
    if (auto* field = qobject_cast<FileField*>(control); field && property == "FileName") {
        if (!text.isEmpty() && !ValidFileName(text))
            return;
        // Quotes keep a name with a blank whole when a run takes the first word of the field.
        if (text.contains(' ') && !text.startsWith('"'))
            field->SetFileName('"' + text + '"');
        else
            field->SetFileName(text);
    }
}

void RestorePlacement(TVorkatMainForm& form, const IniFile& ini, const std::string& section)
{
    const ScreenInfo screen = CurrentScreen();
    const int flags = ReadInteger(ini, section, "Flags", 0);
    const auto minMaxPos = ReadPosition(ini, section, "MinMaxPos", screen);
    const auto normPos = ReadPosition(ini, section, "NormPos", screen);
    const int pixelsPerInch = ReadInteger(ini, section, "PixelsPerInch", screen.pixelsPerInch);

    // The window system places minimized and maximized windows itself: of the positions
    // only the normal rectangle is applied. A malformed or empty one keeps the current place.
    if ((minMaxPos || normPos) && pixelsPerInch == screen.pixelsPerInch) {
        if (auto edges = normPos ? FourInts(*normPos) : std::nullopt) {
            const qint64 left = (*edges)[0], top = (*edges)[1], right = (*edges)[2], bottom = (*edges)[3];
            if (right > left && bottom > top)
                if (auto place = OnScreen(left, top, right - left, bottom - top))
                    form.setGeometry(*place);
        }
    }
    Qt::WindowStates state = Qt::WindowNoState;
    switch (ReadInteger(ini, section, "ShowCmd", ShowNormal)) {
    case 2:
    case 6:
    case 7:
        state = Qt::WindowMinimized;
        if (flags & RestoreToMaximized)
            state |= Qt::WindowMaximized;
        break;
    case 3:
        state = Qt::WindowMaximized;
        break;
    default:
        break;
    }
    if (form.windowState() != state)
        form.setWindowState(state);
}

void SavePlacement(TVorkatMainForm& form, IniFile& ini, const std::string& section, bool destroying)
{
    const ScreenInfo screen = CurrentScreen();
    const Qt::WindowStates state = form.windowState();
    const bool minimized = state & Qt::WindowMinimized;
    const bool maximized = state & Qt::WindowMaximized;
    const int showCmd = minimized ? ShowMinimized : maximized ? ShowMaximized : ShowNormal;
    const int flags = minimized && maximized ? RestoreToMaximized : 0;
    QRect normal = form.normalGeometry();
    if (!normal.isValid())
        normal = form.geometry();
    // Minimized and maximized places belong to the window system: none of our own.
    const QString minMaxPos = FourText(-1, -1, -1, -1);
    const QString normPos = FourText(normal.left(), normal.top(), normal.left() + normal.width(),
                                     normal.top() + normal.height());
    const QString suffix = SizeSuffix(screen);

    auto write = [&](const QString& key, const QString& value) {
        ini.WriteString(section, Std(key), Trim(Std(value)));
    };
    write("Flags", QString::number(flags));
    write("ShowCmd", QString::number(showCmd));
    write("PixelsPerInch", QString::number(screen.pixelsPerInch));
    write("MinMaxPos" + suffix, minMaxPos);
    write("MinMaxPos", minMaxPos);
    write("NormPos" + suffix, normPos);
    write("NormPos", normPos);
    write("Visible", destroying ? "1" : "0");
}

} // namespace

void TFormStorage::RestoreFormPlacement(TVorkatMainForm& form)
{
    if (!Active)
        return;
    try {
        const IniFile ini(Std(IniFileName));
        const std::string section = Std(IniSection);
        if (ReadInteger(ini, section, "FormVersion", 0) >= Version) {
            RestorePlacement(form, ini, section);
            for (const QString& stored : StoredProps) {
                const QString controlName = stored.section('.', 0, 0);
                const QString property = stored.section('.', 1);
                QWidget* control = Control(form, controlName);
                const auto current = PropertyText(control, property);
                if (!current)
                    continue;
                const std::string key = Std(controlName + "_" + property);
                const std::string text = Trim(ini.ReadString(section, key, Std(*current)));
                SetProperty(control, property, QString::fromStdString(text));
            }
        }
        restored_ = true;
        saved_ = false;
    } catch (const std::exception& error) {
        // Without the stored settings a save would overwrite them with the start values.
        ShowErrorBox(QString::fromStdString(error.what()));
    }
}

void TFormStorage::SaveFormPlacement(TVorkatMainForm& form, bool destroying)
{
    if (!Active || !restored_)
        return;
    saved_ = true;
    try {
        IniFile ini(Std(IniFileName));
        const std::string section = Std(IniSection);
        ini.WriteString(section, "FormVersion", std::to_string(Version));
        SavePlacement(form, ini, section, destroying);
        for (const QString& stored : StoredProps) {
            const QString controlName = stored.section('.', 0, 0);
            const QString property = stored.section('.', 1);
            const auto value = PropertyToSave(Control(form, controlName), property);
            if (value)
                ini.WriteString(section, Std(controlName + "_" + property), Trim(Std(*value)));
        }
        ini.Save();
    } catch (const std::exception& error) {
        ShowErrorBox(QString::fromStdString(error.what()));
    }
}

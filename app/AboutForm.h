// The "About" window: the emblem, product name, version, notice and the maker's addresses.
#pragma once
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QUrl>
#include <functional>

// The program's emblem, drawn rather than loaded so that no image file has to ship.
class EmblemPicture : public QWidget {
    Q_OBJECT
public:
    explicit EmblemPicture(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A label that reports a click of the left button released over it.
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);

    static constexpr const char* EMailAddress = "vorkat@example.org";
    static constexpr const char* WebAddress = "https://www.example.org/vorkat/";

    EmblemPicture* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPlainTextEdit* Comments;
    ClickLabel* EMailLabel;
    ClickLabel* WebLabel;

    // Hands an address to the desktop's opener; what it answers is not looked at.
    std::function<void(const QUrl&)> OpenUrl;

    // "v 1.0", the heading the box has always had, or the whole release, "v 1.0.4".
    void ShowFullVersion(bool full);

    void EMailLabelClick();
    void WebLabelClick();

protected:
    void showEvent(QShowEvent* event) override;
};

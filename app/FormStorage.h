// The settings kept between starts in vorkat.ini: window placement and the stored controls.
#pragma once
#include <QString>
#include <QStringList>

class TVorkatMainForm;

class TFormStorage {
public:
    QString IniFileName;
    QString IniSection = "TVorkatMainForm";
    bool Active = true;
    int Version = 0;
    // "Control.Property"; the key in the file is "Control_Property". Written in this order.
    QStringList StoredProps = {"DomainBox.Checked", "IndexBox.Checked",  "NewDBName.FileName", "OldDBName.FileName",
                               "ReportBox.Checked", "SPBox.Checked",     "TableBox.Checked",   "TrigBox.Checked",
                               "ExpBox.Checked",    "GenBox.Checked",    "UDFBox.Checked",     "ScriptBox.Checked",
                               "CompleteBox.Checked"};

    // Puts the stored settings back into the window and its controls; meant for the first show.
    void RestoreFormPlacement(TVorkatMainForm& form);
    // Writes the window's settings. destroying: the window is being destroyed rather than closed.
    // Nothing is written unless the settings were restored first.
    void SaveFormPlacement(TVorkatMainForm& form, bool destroying);

    bool Restored() const { return restored_; }
    // A save was made (or tried) since the settings were restored.
    bool Saved() const { return saved_; }

private:
    bool restored_ = false;
    bool saved_ = false;
};

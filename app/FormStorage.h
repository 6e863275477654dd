// The settings kept between starts in vorkat.ini.
#pragma once
#include <QString>

class TVorkatMainForm;

class TFormStorage {
public:
    QString IniFileName;
    QString IniSection = "TVorkatMainForm";

    // Puts the stored settings back into the window's controls.
    void RestoreFormPlacement(TVorkatMainForm&) {}
    // Writes the window's settings; destroying tells whether the window is being destroyed.
    void SaveFormPlacement(TVorkatMainForm&, bool) {}
    bool Restored() const { return false; }
};

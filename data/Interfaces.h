// What the core asks of a front end: a progress bar, a place for report rows and a busy pointer.
#pragma once
#include <string>

class Progress {
public:
    virtual ~Progress() = default;
    virtual int Position() const = 0;
    virtual void SetPosition(int position) = 0;
    virtual void SetMaximum(int maximum) = 0;
};

class ReportSink {
public:
    virtual ~ReportSink() = default;
    virtual void AddReportRow(const std::string& type, const std::string& objectName, const std::string& message) = 0;
};

// Shown while a query reads all its rows, such as the window's busy mouse pointer.
class BusyPointer {
public:
    virtual ~BusyPointer() = default;
    virtual void Begin() = 0;
    virtual void End() noexcept = 0;
};

// A bar with no display, for callers that do not show progress.
class SilentProgress : public Progress {
public:
    int Position() const override { return position_; }
    void SetPosition(int position) override { position_ = position; }
    void SetMaximum(int maximum) override { maximum_ = maximum; }
    int Maximum() const { return maximum_; }

private:
    int position_ = 0;
    int maximum_ = 100;
};

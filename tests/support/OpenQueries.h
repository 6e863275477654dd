// A bar that notes which of a comparator's queries are open when it is set up and when it first steps.
#pragma once
#include "data/Interfaces.h"
#include "db/Query.h"

#include <string>
#include <utility>
#include <vector>

class OpenQueriesRecorder : public Progress {
public:
    // The queries by the names the notes give them, in the order the notes list them.
    explicit OpenQueriesRecorder(std::vector<std::pair<std::string, Query*>> watched) : watched_(std::move(watched)) {}
    int Position() const override { return position_; }
    void SetPosition(int position) override
    {
        position_ = position;
        if (position == 1)
            atFirstStep = Snapshot();
    }
    void SetMaximum(int maximum) override
    {
        atMaximum = Snapshot();
        this->maximum = maximum;
    }
    // The names of the open queries, each followed by a blank but the last one watched.
    std::string atMaximum;
    std::string atFirstStep;
    int maximum = -1;

private:
    std::string Snapshot() const
    {
        std::string open;
        for (std::size_t i = 0; i < watched_.size(); ++i)
            if (watched_[i].second->Active())
                open += watched_[i].first + (i + 1 < watched_.size() ? " " : "");
        return open;
    }

    std::vector<std::pair<std::string, Query*>> watched_;
    int position_ = 0;
};

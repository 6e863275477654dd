// A pair fixture bound to one kind of check, run as the run sequence runs it.
#pragma once
#include "compare/Checks.h"
#include "tests/support/TestDb.h"

template <CheckKind Kind>
class CheckTest : public PairTest {
protected:
    // One pass of the kind by fresh comparators, in the modes as they stand.
    void Check() { Checks(DM, Rep).Run(Kind, Bar); }
    // The modes set first: a repair or a script, with report rows.
    void Check(bool repair)
    {
        RunMode(repair);
        Check();
    }
    // A fresh pair, connected and checked once.
    void CheckPair(const std::string& oldSql, const std::string& newSql, bool repair = false)
    {
        ConnectPair(oldSql, newSql);
        Check(repair);
    }
    // A repair that finds these rows and scripts nothing, then one that finds nothing more.
    void RepairTwice(const Rows& firstFindings)
    {
        Check(true);
        ExpectScriptAndFindings(Lines{}, firstFindings);
        Check(true);
        EXPECT_TRUE(FindingRows(Rep).empty());
    }
};

// The tests' seam into the comparators: the private queries and steps that a test stands on or replaces.
#pragma once
#include "compare/Domains.h"
#include "compare/Generators.h"
#include "compare/Indices.h"
#include "compare/Tables.h"
#include "compare/Triggers.h"

struct ComparatorPeer {
    static Query& Gen(TGen& gen, Side side) { return gen.GenQuery(side); }

    static Query& Dmn(TDmn& dmn, Side side) { return dmn.DmnQuery(side); }
    static bool SameDmnNullFlag(TDmn& dmn, int odsMajor) { return dmn.SameDmnNullFlag(odsMajor); }
    static Statements UpdateDomainStatements(TDmn& dmn, int odsMajor) { return dmn.UpdateDomainStatements(odsMajor); }

    static Query& Tbl(TTbl& tbl, Side side) { return tbl.TblQuery(side); }
    static Query& TblFields(TTbl& tbl, Side side) { return tbl.TblFieldsQuery(side); }
    static Query& Fields(TTbl& tbl, Side side) { return tbl.FieldsQuery(side); }
    static Statements ColumnDomainStatements(TTbl& tbl, int odsMajor) { return tbl.ColumnDomainStatements(odsMajor); }
    static Statements NullFlagStatements(TTbl& tbl, int odsMajor) { return tbl.NullFlagStatements(odsMajor); }

    static Query& Idx(TIdx& idx, Side side) { return idx.IdxQuery(side); }
    static Query& Con(TIdx& idx, Side side) { return idx.ConQuery(side); }
    static Query& ConRef(TIdx& idx, Side side) { return idx.ConRefQuery(side); }

    static Query& Trig(TTrig& trig, Side side) { return trig.trigs_[side]; }
    static Query& NewCheck(TTrig& trig) { return trig.NewCheck; }
};

using Peer = ComparatorPeer;

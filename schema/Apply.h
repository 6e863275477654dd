// Runs a plan on the Old Database in one transaction: all of it commits, or none of it. Only
// the data migrations --force asks for run before it, each in committed steps of its own.
#pragma once
#include "schema/Plan.h"

#include <functional>

class Connection;
class ScopedTransaction;

namespace schema {

// Each step is executed in the plan's dialect inside work, which is committed once at the
// end; work may hold the reads the plan was made from. On a refusal nothing is committed (work
// rolls back when it goes out of scope) and the DbError names the step's object and carries
// the server's message (work the server defers to the commit is refused there). step is told
// the index of each step before it runs, and the number of steps before the commit.
void Apply(const Plan& plan, Connection& connection, ScopedTransaction& work,
           const std::function<void(std::size_t)>& step = {});
// The same in a transaction of its own.
void Apply(const Plan& plan, Connection& connection);

}

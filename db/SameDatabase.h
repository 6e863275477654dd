// Whether two attachments are on one database, decided by the database and not by its names.
#pragma once

class Connection;

// A mark only this run knows is set in the first attachment's session and looked for among
// the sessions the second one's database lists (MON$CONTEXT_VARIABLES). A server without
// monitoring tables, or a user who may not see the other session, gives false, as two
// distinct databases do.
bool OnSameDatabase(Connection& first, Connection& second);

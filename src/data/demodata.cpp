#include "data/dbfile.h"
#include "db/dberror.h"

// Filled in by the demo/generator work; see dbfile.h.
namespace dbfile {
void createDemo(const QString &path, bool force) { create(path, force); }
void createGenerated(const QString &path, int, bool force) { create(path, force); }
} // namespace dbfile

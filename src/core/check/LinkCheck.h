// The structural link check that closes every import: it makes the links
// between persons and families agree from both sides, drops links to
// records that do not exist, and reports each repair as a "### " line.
#pragma once

#include <cstdint>

namespace kinmap {

class Workspace;

// Check and repair one person / one family; return the repairs counted.
int32_t checkPersonLinks(Workspace& session, int32_t rin);
int32_t checkFamilyLinks(Workspace& session, int32_t mrin);
// All persons first (that pass may delete a nameless child whose family
// still lists it), then all families. Returns the sum.
int32_t checkAllLinks(Workspace& session);

} // namespace kinmap

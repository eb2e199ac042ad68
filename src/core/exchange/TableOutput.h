// Output to File for the person lists and the Family tab: a row per person
// of the list, in the order the list shows them.
#pragma once

#include "exchange/Columns.h"
#include "exchange/TableText.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kinmap {

class Workspace;
struct GedFile;

// RIN, surname and given name, then each column's cell: the column's line
// of the person's record with the database's values filled in (the record
// as the export would write it).
std::string templateTable(Workspace& workspace, const GedFile& file, const std::vector<int32_t>& rins,
                          const std::vector<TableColumn>& columns, TableFormat format);

// The wide table of the Family tab: birth, christening, godparents, death,
// burial, first marriage with spouse and witnesses, parents and the first
// note of every person.
std::string familyTable(Workspace& workspace, const GedFile& file, const std::vector<int32_t>& rins, TableFormat format);

} // namespace kinmap

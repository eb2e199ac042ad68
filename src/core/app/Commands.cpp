#include "app/Commands.h"

namespace kinmap {

bool isDataCommand(uint32_t id)
{
    // Export GED counts with them (it exports every person of the data),
    // and so do Select and Deselect, which act on persons.
    return (id >= cmdExportGed && id <= cmdOutputToFile) || id == cmdEditPerson || id == cmdUnlinkSpouse ||
           id == cmdUnlinkParents || (id >= cmdAddSpouse && id <= cmdFindReplace) ||
           (id >= cmdDuplicates && id <= cmdAutoSource) || (id >= cmdFindErrors && id <= cmdDeselectAll) || id == cmdSearchSources;
}

} // namespace kinmap

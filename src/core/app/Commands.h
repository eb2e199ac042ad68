// The command ids of the menus and accelerators. The window routes every
// menu entry, context-menu entry and accelerator by these ids.
#pragma once

#include <cstdint>

namespace kinmap {

enum CommandId : uint32_t {
    cmdAbout = 32771,
    cmdNew = 32772,
    cmdImportGed = 32773,
    cmdExportGed = 32774,
    cmdPartialExport = 32775,
    cmdInputFromFile = 32776,
    cmdOutputToFile = 32777,
    cmdExit = 32778,
    cmdEditPerson = 32779,
    cmdUnlink = 32780,
    cmdUnlinkSpouse = 32781,
    cmdUnlinkParents = 32782,
    cmdAddNewPerson = 32783,
    cmdAddSpouse = 32784,
    cmdAddChild = 32785,
    cmdAddFather = 32786,
    cmdAddMother = 32787,
    cmdDelete = 32788,
    cmdFindReplace = 32789,
    cmdSoundex = 32790,
    cmdHelp = 32792,
    cmdRecentFile1 = 32793,
    cmdRecentFile4 = 32796,
    cmdAddNew = 32797,
    cmdAddFromList = 32798,
    cmdRelationship = 32799,
    cmdDuplicates = 32800,
    cmdIslands = 32801,
    cmdAutoSource = 32802,
    cmdFindErrors = 32804,
    cmdSearchPerson = 32805,
    cmdSearchEvents = 32806,
    cmdSearchBirths = 32807,
    cmdSearchDeaths = 32808,
    cmdSearchMarriages = 32809,
    cmdCountGivenNames = 32810,
    cmdCountSurnames = 32811,
    cmdCountPlaces = 32812,
    cmdCountEvents = 32813,
    cmdSelectPerson = 32814,
    cmdSelectAncestors = 32815,
    cmdSelectDescendants = 32816,
    cmdSelectAll = 32817,
    cmdDeselectPerson = 32818,
    cmdDeselectAncestors = 32819,
    cmdDeselectDescendants = 32820,
    cmdDeselectAll = 32821,
    cmdEditErrorPerson = 32822,
    cmdRemoveError = 32823,
    cmdMerge = 32824,
    cmdOtherParents = 32825,
    cmdUndo = 32901,
    cmdRedo = 32902,
    // The shown Pedigree or Branches on paper or into a PDF file.
    cmdPrint = 32903,
    cmdExportPdf = 32904,
    // The shown Tree or Hourglass as a PNG or SVG picture.
    cmdExportImage = 32905,
    cmdSearchSources = 32906,
};

// True for the commands that need data: greyed in the no-data state and
// enabled after an import or New.
bool isDataCommand(uint32_t id);

} // namespace kinmap

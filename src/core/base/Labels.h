// One-line descriptions of a person, a person's relatives and a family,
// appended to the report: the building blocks of most report lines.
#pragma once

#include <cstdint>

namespace kinmap {

class Workspace;

// Options of personLabel.
namespace LabelOption {
constexpr int numberFirst = 0x2;
constexpr int birth = 0x4;
constexpr int death = 0x8;
constexpr int places = 0x10;
constexpr int numberLast = 0x20;
constexpr int fullDates = 0x40;
constexpr int lineEnd = 0x80;
} // namespace LabelOption

// Options of relativesLabel.
namespace RelativesOption {
constexpr int lineBefore = 0x1;
constexpr int parents = 0x2;
constexpr int spouses = 0x4;
constexpr int marriageYear = 0x8;
constexpr int lineAfter = 0x10;
} // namespace RelativesOption

// "[12] John Smith  1850-1910 " and its variants, by the option bits.
void personLabel(Workspace& session, const char* prefix, int options, int32_t rin);
// " father: … mother: … &1875 spouse: …, …".
void relativesLabel(Workspace& session, int options, int32_t rin);
// " Fam [7] John Smith - Mary Miller ".
void familyLabel(Workspace& session, const char* prefix, int32_t mrin);

} // namespace kinmap

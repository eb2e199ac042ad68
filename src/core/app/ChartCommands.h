// The Tree and Hourglass tabs' commands: building the drawing for the
// current person, what a click on a box does, the history of probands and
// the "<" back, and the marriage the hourglass shows.
#pragma once

#include "views/Chart.h"

#include <cstdint>

namespace kinmap {

class Session;

// The drawing of the current person for a view of width × height, with
// the status bar. The history becomes just the proband unless its top is
// the proband; a new hourglass proband shows its first marriage.
Chart prepareChart(Session& session, ChartKind kind, int width, int height, int generations);
// Whether "<" has somewhere to go back to.
bool canGoBack(const Session& session);

// Showing the hourglass again for the person it showed last steps to that
// person's next marriage, round.
void stepHourglassMarriage(Session& session);

// A left click on a box of the drawing: a person becomes the proband (and
// is pushed on the history; the hourglass's own proband steps to its next
// marriage), a placeholder adds the missing father, mother or spouse
// through the dialog (nothing when cancelled). The tab is shown again; a
// box whose person is gone since the drawing was built only does that.
void chartBoxClicked(Session& session, const Chart& chart, int box);
// "<": back to the proband before.
void chartBack(Session& session);

} // namespace kinmap

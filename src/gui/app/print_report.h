#pragma once

class QWidget;
struct SharedState;

// Prints the report of a viewer (task, solution or statistics) on the default printer without a
// dialog. With no printer the report is written as a PDF under the Workspace's Reports folder,
// opened through the host's open-file service and named in an information box; a printer that
// fails shows an error box. A viewer of another kind prints nothing.
void printViewerReport(SharedState& state, QWidget* viewer);

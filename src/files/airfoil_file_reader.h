// Reader of airfoil coordinate files (*.arf): a title, a point count, then
// label, x and y for each point, fields separated by blanks, commas or line
// ends.
#ifndef QUILANE_FILES_AIRFOIL_FILE_READER_H_
#define QUILANE_FILES_AIRFOIL_FILE_READER_H_

#include <string>

#include "files/contour_store.h"
#include "files/file_result.h"
#include "workspace/airfoil_workspace.h"

namespace quilane {

class TextSource;

// The reading half of ReadAirfoilFile on the text of the file `path` from
// `source` (at its start): the title, the count's records and the same
// refusals, into `contour` (format "arf", x and y as read, the record lines),
// without storing anything. `contour` changes only on success.
FileResult ReadArfContour(const std::string& path, TextSource& source, FileContour& contour);

// Reads the file named by InputPath into AirfoilTitle, N, X(1..N), Y(1..N),
// then finds the nose and the chord from neighbour steps (ILE and Xmin from
// the last step where x decreases, Xmax from the last step where it
// increases), Chord = Xmax - Xmin, and normalises X(i) = (x - Xmin) / Chord.
//
// InputPath is UTF-8. Fields are read in order across line ends; blanks and
// line ends in front of a numeric field are skipped, and a numeric field ends
// at a blank, a comma or a line end (a leading '+' is allowed). The title ends
// at the first comma or the line end (blanks at its end are not part of it),
// or is the text between double quotes (the rest up to the next comma or line
// end is passed over). LF, CRLF and CR line ends and a UTF-8 byte-order mark
// are accepted. The file is read as a stream and reading stops after the
// count's records: whatever follows them is not looked at.
//
// Refuses, with a message naming the file and the line (and the record, for a
// record field), and without changing anything in the workspace: a file that
// cannot be opened, a folder, a named pipe or device (refused before it is
// opened, so that nothing waits), a file that is not plain text (UTF-16
// byte-order mark, NUL byte); a count that is missing or not plain digits
// from 2 to 1000; fewer records than the count; a field that is empty, not a
// number or not finite; a title over 1000 characters or a numeric field over
// 400; all x equal (chord 0); a contour whose x never decreases (it has no
// nose, and ILE would keep the nose of an earlier file).
FileResult ReadAirfoilFile(AirfoilWorkspace& ws);

// ReadAirfoilFile on the text of InputPath from `source`, made on that file
// and at its start (new, or rewound): the same reading, refusals and
// messages, without opening the file again.
FileResult ReadAirfoilSource(AirfoilWorkspace& ws, TextSource& source);

// What choosing a file does after InputPath is set: reads it and, on success,
// makes the points read the first set of new points (NI = N, XI = X, YI = Y),
// sets the zoom factor to 1, clears PlotTitle and marks the file loaded.
// The caller plots afterwards. A refused file changes nothing.
FileResult LoadAirfoilFile(AirfoilWorkspace& ws);

}  // namespace quilane

#endif  // QUILANE_FILES_AIRFOIL_FILE_READER_H_

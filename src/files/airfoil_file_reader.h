// Reader of airfoil coordinate files (*.arf): a title, a point count, then
// label, x and y for each point, fields separated by blanks, commas or line
// ends.
#ifndef QUILANE_FILES_AIRFOIL_FILE_READER_H_
#define QUILANE_FILES_AIRFOIL_FILE_READER_H_

#include <string>

#include "base/expected.h"
#include "files/file_contour.h"

namespace quilane {

class TextSource;

// Reads the text of the file `path` from `source` (at its start): the title
// and the count's records, x and y as given (format "arf", the lines of the
// records).
//
// Fields are read in order across line ends; blanks and line ends in front
// of a numeric field are skipped, and a numeric field ends at a blank, a
// comma or a line end (a leading '+' is allowed). The title ends at the first
// comma or the line end (blanks at its end are not part of it), or is the
// text between double quotes (the rest up to the next comma or line end is
// passed over). LF, CRLF and CR line ends and a UTF-8 byte-order mark are
// accepted. Reading stops after the count's records: whatever follows them
// is not looked at.
//
// Refuses, with a message naming the file and the line (and the record, for
// a record field): a file that is not plain text (kNotPlainText: UTF-16
// byte-order mark, NUL byte), a read error (kUnreadableFile); a count that is
// missing or not plain digits from 2 to 1000; fewer records than the count; a
// field that is empty, not a number or not finite; a title over 1000
// characters or a numeric field over 400 (kMalformedFile).
Expected<FileContour> ReadArfContour(const std::string& path, TextSource& source);

}  // namespace quilane

#endif  // QUILANE_FILES_AIRFOIL_FILE_READER_H_

#pragma once

namespace marlint {

// The standard streams as the program needs them on the system it runs on.
// They are the whole difference between the systems in how marlint reads and
// writes; the checks and the report never see it.

// Standard input, output and error carry bytes as they are. A POSIX system
// does nothing to them; Windows opens them in text mode, which would drop the
// CR of a CR LF read from standard input, stop reading at a Ctrl-Z byte and
// add a CR before every LF of the report.
void useBinaryStandardStreams();

// A reader that stops reading the report early (`marlint --all FILE | head`)
// must not end the run before the result text is written: POSIX systems send
// a signal for a write to such a pipe, which is ignored from here on. On
// Windows the write just fails.
void keepRunningWhenReportReaderLeaves();

}  // namespace marlint

// The importer's fixed identity. Included by the resource script too, so the
// version resource and the version the importer reports cannot drift apart:
// keep it to plain #defines.
#pragma once

#define SWIMPORTER_VERSION_NUMBERS 6, 7, 0, 120
#define SWIMPORTER_VERSION "6.7.0.120"
#define SWIMPORTER_VERSION_DISPLAY "6.7 [6.7.0.120]"

#define SWIMPORTER_ID L"{22864D83-A5CF-41E1-ABD4-CDD9449CBC37}"
#define SWIMPORTER_NAME L"SolidWorks Importer"
// The release build's date, in the compiler's __DATE__ form ("Mmm dd yyyy",
// the day padded with a blank).
#define SWIMPORTER_RELEASE_DATE L"Dec  9 2025"

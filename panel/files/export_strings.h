#pragma once
// The export's texts in the panel's string table; each failure's number is also the export's
// result for it. Plain definitions: the resource compiler reads this file too.
#define IDS_SAVE_MIDI 175
#define IDS_SAVING 176
#define IDS_CANNOT_CREATE 177
#define IDS_WRITE_FAILED 178
#define IDS_NO_MEMORY 179
// Asked before a dump replaces a file whose name got its .syx only after the save dialog had asked
#define IDS_REPLACE_FILE 185

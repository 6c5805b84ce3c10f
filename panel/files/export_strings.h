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
// The caption of that question, as the save dialog's own
#define IDS_SAVE_AS 186
// The file dialogs' types: "name|pattern|" pairs, each '|' standing for the zero that ends a part
#define IDS_SAVE_FILTER 195
#define IDS_OPEN_FILTER 196

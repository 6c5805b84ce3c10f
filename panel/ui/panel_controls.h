#pragma once
// Control identifiers of the panel dialog (template 102) and its other resources.

// Resources
#define IDD_PANEL 102
#define IDD_MIDI_OUTPUT 103
#define IDI_PANEL 128
#define IDR_ACCELERATORS 129

// Strings: those of "Save &MIDI" (175..179), then those below
#include "panel/files/export_strings.h"

// Master area, channels and "Save &MIDI"
#define IDC_MASTER_VOLUME 1000
#define IDC_MASTER_VOLUME_LABEL 1001
#define IDC_MASTER_TUNE 1002
#define IDC_MASTER_TUNE_LABEL 1003
#define IDC_MASTER_TRANSPOSE_SPIN 1004
#define IDC_MASTER_TRANSPOSE_LABEL 1005
#define IDC_MASTER_TRANSPOSE 1006
#define IDC_CHANNEL_GROUP 1010
#define IDC_DIGITAL_GROUP 1015
#define IDC_CHANNEL_FIRST 1024
#define IDC_CHANNEL_LAST 1039
#define IDC_SAVE_MIDI 1040

// Digital audio
#define IDC_DIGITAL_VOLUME 2018
#define IDC_DIGITAL_BRIGHTNESS 2019
#define IDC_DIGITAL_TRANSPOSE_SPIN 2021
#define IDC_DIGITAL_TUNE 2022
#define IDC_DIGITAL_TRANSPOSE 2023
#define IDC_DIGITAL_REVERB 2025
#define IDC_DIGITAL_CHORUS 2026
#define IDC_PANIC 2120
#define IDC_DIGITAL_TARGET 2149
#define IDC_DIGITAL_REVERB_LABEL 2150
#define IDC_DIGITAL_VOLUME_LABEL 2151
#define IDC_DIGITAL_TUNE_LABEL 2152
#define IDC_DIGITAL_TRANSPOSE_LABEL 2153
#define IDC_DIGITAL_CHORUS_LABEL 2155
#define IDC_DIGITAL_BRIGHTNESS_LABEL 2156

// Reverb/delay and chorus
#define IDC_REVERB_TYPE 3100
#define IDC_REVERB_LEVEL 3101
#define IDC_REVERB_DECAY 3102
#define IDC_DELAY_TIME 3103
#define IDC_DELAY_FEEDBACK 3104
#define IDC_CHORUS_LEVEL 3105
#define IDC_CHORUS_FEEDBACK 3106
#define IDC_CHORUS_DELAY 3107
#define IDC_CHORUS_RATE 3108
#define IDC_CHORUS_DEPTH 3109
#define IDC_DECAY_LABEL 3150
#define IDC_REPEAT_LABEL 3151
#define IDC_TIME_LABEL 3152

// Commands of the window menu, above its standard items (the system keeps their low four bits)
#define IDM_LOAD_SETTINGS 0x0010
#define IDM_MIDI_OUTPUT 0x0020
#define IDM_RESTORE_AT_START 0x0030

// Commands of accelerator table 129
#define IDM_ALT_V 2000
#define IDM_ALT_U 2001
#define IDM_ALT_T 2002
#define IDM_ENTER 32700

// The caption of the panel's message boxes
#define IDS_PROGRAM_CAPTION 198

// Strings telling the user that the MIDI interface cannot be reached (the port in hex)
#define IDS_PORT_NOT_RESPONDING 180
#define IDS_PORT_REFUSED 181
// ... where the system allows port access only through a port-driver library (the library's
// file name and the folder to put it in follow the port)
#define IDS_PORT_NO_DRIVER 182
#define IDS_PORT_DRIVER_NOT_RUNNING 183

// Settings files: the window menu's item; why a file changed nothing (each text names the file);
// how to start the panel
#define IDS_LOAD_SETTINGS_ITEM 184
#define IDS_FILE_CANNOT_READ 187
#define IDS_FILE_TOO_LARGE 188
#define IDS_FILE_DAMAGED 189
#define IDS_FILE_NO_SETTINGS 200
#define IDS_USAGE 201

// A start of the program while its panel runs, which does not answer
#define IDS_PANEL_NOT_ANSWERING 202

// The MIDI output: the window menu's item, the card's entry in the list of outputs (its port in
// hex), and what the panel tells the user when the chosen device fails (its name, and for one that
// cannot be opened the system's reason, such as another program holding it)
#define IDS_MIDI_OUTPUT_ITEM 190
#define IDS_OUTPUT_CARD 191
#define IDS_OUTPUT_MISSING 192
#define IDS_OUTPUT_NOT_OPENED 193
#define IDS_OUTPUT_NOT_TAKING 194

// The card restored at every Windows start: the window menu's check item, and what the panel tells
// the user when the registry refuses to write or delete the entry
#define IDS_RESTORE_AT_START_ITEM 197
#define IDS_STARTUP_ENTRY_REFUSED 199

// Dialog 103 "MIDI Output": the list of outputs
#define IDC_OUTPUT_LIST 4001

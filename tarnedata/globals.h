// TarnEdata settings globals shared with the project manager, with their values before
// start-up. Plain shared variables, no lock. Start-up sets CurrentDelphi and creates the
// string lists marked below; shut-down frees those lists and clears every string.
#pragma once

#include <cstdint>

#include "rtl/string.h"
#include "rtl/string_list.h"
#include "tarnedata/project.h"

namespace TarnEdata {

using rtl::String;
using rtl::StringList;

// Font styles as a bit set: fsBold 1, fsItalic 2, fsUnderline 4, fsStrikeOut 8.
using TFontStyles = uint8_t;

KV_API extern bool UseDarkDesign;          // true
KV_API extern bool IsDark;                 // false
KV_API extern bool IDESlave;               // false
KV_API extern bool DelphiUsesEnglishIDE;   // false
KV_API extern bool ShowLastProject;        // true
KV_API extern String ProgLanguage;         // "EN"
KV_API extern String WPPProjectFile;       // "WPProjekte.dat"
KV_API extern bool StopAfterExec;          // false
KV_API extern bool SecondInstanz;          // false
KV_API extern TProject* Project;           // none; a client sets it
KV_API extern String DVersions;            // "Delphi 1,Delphi 2,...,Delphi 12 Athens"
KV_API extern int32_t PrevNextPosition;    // 0
KV_API extern int32_t FMXCounter;          // 0
KV_API extern int32_t OpenProjIn;          // 0
KV_API extern int32_t stvNoUpdate;         // 0
KV_API extern int32_t VCLCounter;          // 100000
KV_API extern String StdFontName;          // "Courier New"
KV_API extern String StdFontNameUni;       // "Arial Unicode MS"
KV_API extern int32_t StdFontSize;         // 10
KV_API extern int32_t StdFontTextColor;    // 0, black
KV_API extern int32_t StdFontBackColor;    // 0x00FFFFFF, white
KV_API extern TFontStyles StdFontStyle;    // none
KV_API extern bool ShowBookmarksToolbar;   // true
KV_API extern bool ShowFilePathPanel;      // true
KV_API extern int32_t MaxUndo;             // 10
KV_API extern int32_t AktUndo;             // 0
KV_API extern int32_t Multistart;          // 0
KV_API extern int32_t PlugInHandle;        // 0
KV_API extern int32_t UsedProjectColumns;  // 0
KV_API extern String LastProjFile;
KV_API extern String LastSelectedNodeText;
KV_API extern String LastSelectedDocText;
KV_API extern String LastProjTV;
KV_API extern String LastDocTV;
KV_API extern String AADest;
KV_API extern String AASrc;
KV_API extern String TheUserName;
KV_API extern String FileMan;
KV_API extern String PDFProg;
KV_API extern String MasterDelphi;
KV_API extern String LastAddPath;
KV_API extern String LastSaveDir;
KV_API extern String MethodsFile;
KV_API extern String MethodsHintsFile;
KV_API extern String MethodsClassFile;
KV_API extern String CurrentDelphi;        // "Delphi 11 Alexandria" after start-up

// Lines of Key + #1 + text with #3 for each line break (see SetPosChanges); a client
// creates and owns it.
KV_API extern StringList* slPosInfo;

// Created at start-up, freed at shut-down; null outside.
KV_API extern StringList* slMethods;         // sorted, duplicates ignored
KV_API extern StringList* slMethodsHints;    // sorted, duplicates ignored
KV_API extern StringList* slMethodsClass;    // unsorted, duplicates-ignored setting
KV_API extern StringList* slUnits;
KV_API extern StringList* slExistingDelphis;
KV_API extern StringList* slProgs;
KV_API extern StringList* slPrevNextLine;
KV_API extern StringList* slPrevNextFile;
KV_API extern StringList* slPropRepl;
KV_API extern StringList* slValRepl;
KV_API extern StringList* slRemoveFMX;
KV_API extern StringList* slDelFilesAtEnd;

}  // namespace TarnEdata

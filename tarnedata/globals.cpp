#include "tarnedata/globals.h"

namespace TarnEdata {

bool UseDarkDesign = true;
bool IsDark = false;
bool IDESlave = false;
bool DelphiUsesEnglishIDE = false;
bool ShowLastProject = true;
String ProgLanguage = u"EN";
String WPPProjectFile = u"WPProjekte.dat";
bool StopAfterExec = false;
bool SecondInstanz = false;
TProject* Project = nullptr;
String DVersions =
    u"Delphi 1,Delphi 2,Delphi 3,Delphi 4,Delphi 5,Delphi 6,Delphi 7,Delphi 8,Delphi 2005,"
    u"Delphi 2006,Delphi 2007,Delphi 2009,Delphi 2010,Delphi XE,Delphi XE2,Delphi XE3,"
    u"Delphi XE4,Delphi XE5,Delphi XE6,Delphi XE7,Delphi XE8,Delphi 10 Seattle,"
    u"Delphi 10.1 Berlin,Delphi 10.2 Tokyo,Delphi 10.3 Rio,Delphi 10.4 Sydney,"
    u"Delphi 11 Alexandria,Delphi 12 Athens";
int32_t PrevNextPosition = 0;
int32_t FMXCounter = 0;
int32_t OpenProjIn = 0;
int32_t stvNoUpdate = 0;
int32_t VCLCounter = 100000;
String StdFontName = u"Courier New";
String StdFontNameUni = u"Arial Unicode MS";
int32_t StdFontSize = 10;
int32_t StdFontTextColor = 0;
int32_t StdFontBackColor = 0x00FFFFFF;
TFontStyles StdFontStyle = 0;
bool ShowBookmarksToolbar = true;
bool ShowFilePathPanel = true;
int32_t MaxUndo = 10;
int32_t AktUndo = 0;
int32_t Multistart = 0;
int32_t PlugInHandle = 0;
int32_t UsedProjectColumns = 0;
String LastProjFile;
String LastSelectedNodeText;
String LastSelectedDocText;
String LastProjTV;
String LastDocTV;
String AADest;
String AASrc;
String TheUserName;
String FileMan;
String PDFProg;
String MasterDelphi;
String LastAddPath;
String LastSaveDir;
String MethodsFile;
String MethodsHintsFile;
String MethodsClassFile;
String CurrentDelphi;

StringList* slPosInfo = nullptr;
StringList* slMethods = nullptr;
StringList* slMethodsHints = nullptr;
StringList* slMethodsClass = nullptr;
StringList* slUnits = nullptr;
StringList* slExistingDelphis = nullptr;
StringList* slProgs = nullptr;
StringList* slPrevNextLine = nullptr;
StringList* slPrevNextFile = nullptr;
StringList* slPropRepl = nullptr;
StringList* slValRepl = nullptr;
StringList* slRemoveFMX = nullptr;
StringList* slDelFilesAtEnd = nullptr;

}  // namespace TarnEdata

; WTarnD11-Setup.exe, the plug-in's installer, for one user (no administrator rights): it puts
; the package WTarnD11.dll and the runtime DLLs it needs into a folder the user chooses (by
; default the user's own program folder), lists the package in the IDE's Known Packages list
; under the current user, and registers an uninstaller in the user's Add/Remove Programs list.
; The uninstaller removes exactly these files and values; other files in the folder and other
; Known Packages values stay. Silent use: WTarnD11-Setup.exe /S [/D=FOLDER], uninstall.exe /S.
; A folder that cannot be made or written to ends the installer with exit code 2 and one line
; saying so (a message box, and standard error when there is one), leaving nothing behind.
;
; Built on Linux with NSIS (Debian's nsis) by the Windows build's target "installer":
;   makensis -INPUTCHARSET UTF8 -DBIN=<build>/bin -DVERSION=1.0.1.1 \
;            -DOUTFILE=<build>/bin/WTarnD11-Setup.exe installer/WTarnD11.nsi
Unicode true
RequestExecutionLevel user
SetCompressor /SOLID lzma
!include LogicLib.nsh

!define KNOWN_PACKAGES "Software\Embarcadero\BDS\22.0\Known Packages"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\WTarnD11"
!define DESCRIPTION "--- Morvane Tarn PlugIn für Delphi 11 Welcome Page"

Name "Tarn PlugIn for Delphi 11 (WTarnD11 ${VERSION})"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\WTarn"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The files that the installer adds to the folder, besides uninstall.exe.
!macro Files do
  !insertmacro ${do} WTarnD11.dll
  !insertmacro ${do} libgcc_s_dw2-1.dll
  !insertmacro ${do} libstdc++-6.dll
  !insertmacro ${do} libwinpthread-1.dll
!macroend
!macro Put name
  File "${BIN}/${name}"
!macroend
!macro Remove name
  Delete "$INSTDIR\${name}"
!macroend

; Says why the installation failed, in a message box and on standard error, and ends it.
!macro Fail text
  MessageBox MB_OK|MB_ICONSTOP "${text}" /SD IDOK
  System::Call 'kernel32::GetStdHandle(i -12) p .r9'
  ${If} $9 P<> 0
  ${AndIf} $9 P<> -1
    FileWrite $9 "${text}$\r$\n"
  ${EndIf}
  SetErrorLevel 2
  Abort
!macroend

; The folder of /D= as given. NSIS itself puts the default folder in its place when that one
; lies beneath a file; the installer must then fail rather than install elsewhere.
Function .onInit
  System::Call 'kernel32::GetCommandLineW() w .r0'
  StrLen $2 $0
  StrCpy $1 0
  loop:
    IntCmp $1 $2 done 0 done
    StrCpy $3 $0 4 $1
    StrCmp $3 " /D=" 0 next
      IntOp $1 $1 + 4
      StrCpy $INSTDIR $0 "" $1
      Goto done
    next:
    IntOp $1 $1 + 1
    Goto loop
  done:
FunctionEnd

Section
  ; The folder must be there and writable before anything is written.
  StrCpy $8 "made"
  IfFileExists "$INSTDIR\*.*" 0 +2
    StrCpy $8 "there"
  ClearErrors
  CreateDirectory "$INSTDIR"
  FileOpen $0 "$INSTDIR\WTarnD11-write-probe.tmp" w
  ${If} $0 == ""
    ${If} $8 == "made"
      RMDir "$INSTDIR"
    ${EndIf}
    !insertmacro Fail "Cannot install WTarnD11 into $INSTDIR: the folder cannot be made or written to."
  ${EndIf}
  FileClose $0
  Delete "$INSTDIR\WTarnD11-write-probe.tmp"

  ; An installation in another folder goes first, so that the IDE knows one WTarnD11 only.
  ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $1 != ""
  ${AndIf} $1 != $INSTDIR
  ${AndIf} ${FileExists} "$1\uninstall.exe"
    ExecWait '"$1\uninstall.exe" /S _?=$1'
    Delete "$1\uninstall.exe"
    RMDir "$1"
  ${EndIf}

  SetOutPath "$INSTDIR"
  !insertmacro Files Put
  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr HKCU "${KNOWN_PACKAGES}" "$INSTDIR\WTarnD11.dll" "${DESCRIPTION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Tarn PlugIn for Delphi 11 (WTarnD11)"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Morvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "Uninstall"
  !insertmacro Files Remove
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegValue HKCU "${KNOWN_PACKAGES}" "$INSTDIR\WTarnD11.dll"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

#pragma once

namespace tembrel::messages {

// Every message box text of the program.
inline constexpr const char* DataMissing = "Some data is missing. Please complete your data.";
inline constexpr const char* DataNotCorrect =
    "Some Data is not correct. Please review your values.";
inline constexpr const char* ConfirmStop = "Are you sure you want to stop the voyage?";
inline constexpr const char* VoyageEnded = "The voyage has been ended.";
inline constexpr const char* ConfirmExit =
    "The voyage is still running, do you really want to exit?";
inline constexpr const char* AnotherTembrel =
    "Another Tembrel is already writing TembrelData.KML in this folder. Stop that voyage first, "
    "or start this one from another folder.";
inline constexpr const char* LockUnusable =
    "Tembrel cannot lock TembrelData.KML.lock in this folder, so it cannot keep a second copy "
    "out. Remove that file or folder, or start this voyage from another folder.";
inline constexpr const char* CacheFolderError = "Error while attempting to open the cache folder.";

inline constexpr const char* StartCaption = "Start Voyage";
inline constexpr const char* ResumeCaption = "Resume Voyage";
inline constexpr const char* AreaLabelPrefix = "Now scanning area no. ";

} // namespace tembrel::messages

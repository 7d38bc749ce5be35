// The numbers of the Windows interface that the portable code passes to the platform or
// gets from it, under names of our own: the system's header takes the system's names for its
// macros. The Win32 platform checks each against them.
#pragma once

namespace plat {

// Window messages.
constexpr unsigned kWmNull = 0x0000;
constexpr unsigned kWmQueryEndSession = 0x0011;
constexpr unsigned kWmHotKey = 0x0312;
constexpr unsigned kWmMouseMove = 0x0200;
constexpr unsigned kWmLButtonDown = 0x0201;
constexpr unsigned kWmLButtonUp = 0x0202;
constexpr unsigned kWmLButtonDblClk = 0x0203;
constexpr unsigned kWmRButtonDown = 0x0204;
constexpr unsigned kWmRButtonUp = 0x0205;
constexpr unsigned kWmRButtonDblClk = 0x0206;
constexpr unsigned kWmMButtonDown = 0x0207;
constexpr unsigned kWmMButtonUp = 0x0208;
constexpr unsigned kWmMButtonDblClk = 0x0209;

// RegisterHotKey modifiers.
constexpr unsigned kModAlt = 1;
constexpr unsigned kModControl = 2;
constexpr unsigned kModShift = 4;
constexpr unsigned kModWin = 8;

// Virtual keys.
constexpr int kVkShift = 0x10;
constexpr int kVkControl = 0x11;
constexpr int kVkMenu = 0x12;

// ShowWindow commands.
constexpr int kSwHide = 0;
constexpr int kSwShow = 5;
constexpr int kSwRestore = 9;
constexpr int kSwShowDefault = 10;

// File attributes.
constexpr unsigned kFileAttributeReadOnly = 0x01;
constexpr unsigned kFileAttributeDirectory = 0x10;
constexpr unsigned kFileAttributeNormal = 0x80;

// System error codes the program acts on.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorInvalidHandle = 6;
constexpr int kErrorSharingViolation = 32;
constexpr int kErrorLockViolation = 33;
constexpr int kErrorFileExists = 80;
constexpr int kErrorAlreadyExists = 183;
constexpr int kErrorBadExeFormat = 193;
constexpr int kErrorElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED, not in every header
constexpr int kErrorCancelled = 1223;
constexpr int kErrorUnableToMoveReplacement2 = 1177;

// GetDriveTypeW: the drives that answer at once.
constexpr unsigned kDriveFixed = 3;
constexpr unsigned kDriveRamdisk = 6;

// Shell_NotifyIconW messages and the fields of its record that are set.
constexpr unsigned kNimAdd = 0;
constexpr unsigned kNimModify = 1;
constexpr unsigned kNimDelete = 2;
constexpr unsigned kNifMessage = 1;
constexpr unsigned kNifIcon = 2;
constexpr unsigned kNifTip = 4;

}  // namespace plat

#pragma once
// The saved log file: the system code page when it holds every character of
// the log, byte for byte what a narrow text write gives; otherwise UTF-8 with
// a byte-order mark, so that no character of the chat is lost.
#include <windows.h>

#include <string>

#include "common/text.h"
#include "save/write_whole_win.h"

namespace rapporta::save {

inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The bytes of the file for a system whose code page is codePage.
std::string EncodeLog(TextView log, UINT codePage);

// Writes the log in the system code page to target with WriteWhole.
void WriteLogFile(TextView target, TextView log);

}  // namespace rapporta::save

#include "save/dlg_util.h"

namespace rapporta::save {

Text StripNull(TextView buffer) {
  return Text(buffer.substr(0, buffer.find(u'\0')));
}

std::string_view CommonDialogErrorName(unsigned long code) {
  // The values of <cderr.h>, which is Windows' own.
  switch (code) {
    case 0xFFFF: return "CDERR_DIALOGFAILURE";
    case 0x0001: return "CDERR_STRUCTSIZE";
    case 0x0002: return "CDERR_INITIALIZATION";
    case 0x0003: return "CDERR_NOTEMPLATE";
    case 0x0004: return "CDERR_NOHINSTANCE";
    case 0x0005: return "CDERR_LOADSTRFAILURE";
    case 0x0006: return "CDERR_FINDRESFAILURE";
    case 0x0007: return "CDERR_LOADRESFAILURE";
    case 0x0008: return "CDERR_LOCKRESFAILURE";
    case 0x0009: return "CDERR_MEMALLOCFAILURE";
    case 0x000A: return "CDERR_MEMLOCKFAILURE";
    case 0x000B: return "CDERR_NOHOOK";
    case 0x000C: return "CDERR_REGISTERMSGFAIL";
    case 0x3001: return "FNERR_SUBCLASSFAILURE";
    case 0x3002: return "FNERR_INVALIDFILENAME";
    case 0x3003: return "FNERR_BUFFERTOOSMALL";
    default: return {};
  }
}

std::string_view AnswerWord(int messageBoxResult) {
  if (messageBoxResult == kResultYes) return kAnswerYes;
  if (messageBoxResult == kResultNo) return kAnswerNo;
  return {};
}

}  // namespace rapporta::save

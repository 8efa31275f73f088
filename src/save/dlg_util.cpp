#include "save/dlg_util.h"

namespace rapporta::save {

Text StripNull(TextView buffer) {
  return Text(buffer.substr(0, buffer.find(u'\0')));
}

std::string_view AnswerWord(int messageBoxResult) {
  switch (messageBoxResult) {
    case kResultYes:
      return kAnswerYes;
    case kResultNo:
      return kAnswerNo;
    default:
      return {};
  }
}

}  // namespace rapporta::save

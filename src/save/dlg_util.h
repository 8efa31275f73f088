#pragma once
// The portable half of DlgUtil: turning the dialog's fixed-size buffer back
// into a string, and the answer words of the Yes/No question.
#include <string_view>

#include "common/text.h"

namespace rapporta::save {

inline constexpr std::string_view kAnswerYes = "YES";
inline constexpr std::string_view kAnswerNo = "NO";
inline constexpr std::string_view kStatusError = "ERR";

// Message-box results of the Yes/No question.
inline constexpr int kResultYes = 6;
inline constexpr int kResultNo = 7;

// Everything before the first NUL; the whole buffer when it has none.
Text StripNull(TextView buffer);

// The name of a common dialog's own error code (CommDlgExtendedError), such
// as "CDERR_INITIALIZATION"; empty for a code it does not know.
std::string_view CommonDialogErrorName(unsigned long code);

// "YES" for Yes, "NO" for No, empty for any other result.
std::string_view AnswerWord(int messageBoxResult);

}  // namespace rapporta::save

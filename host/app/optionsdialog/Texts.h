// The dialog's own texts, from the host's GUI strings.
#pragma once

#include <string>

namespace orvhost::optionsdialog {

enum class Text { title = 1101, generalPage, advancedPage, okButton, cancelButton, applyButton, defaultsButton };

std::wstring text(Text id);

// The dialog's title for the options of importer: its name, then the
// host's own title.
std::wstring titleFor(const std::wstring& importer);

}  // namespace orvhost::optionsdialog

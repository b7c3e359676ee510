#pragma once
// Shows a report file written by the report writers in a rich-text view.
#include <string>

class QTextEdit;

namespace pelorin {

// Replaces the view's content by the rich-text file. Throws Error naming the file
// when it cannot be read.
void ShowRtfFile(QTextEdit* view, const std::string& path);

}  // namespace pelorin

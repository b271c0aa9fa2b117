// Fuzzing the design-file reader: any bytes must come back as a document or
// an error, never a crash, a hang or a read past the input. A document read
// must also survive a save: its text reads back to the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "design/design_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const diaspring::DesignRead read = diaspring::parseDesign(text, "fuzz.diaspring");
  if (!read.ok()) {
    // Every refusal renders in both languages.
    if (read.error->english().empty() || read.error->chinese().empty()) std::abort();
    return 0;
  }
  const std::string saved = diaspring::serialiseDesign(*read.document);
  const diaspring::DesignRead again = diaspring::parseDesign(saved, "fuzz.diaspring");
  if (!again.ok() || !(*again.document == *read.document)) std::abort();
  return 0;
}

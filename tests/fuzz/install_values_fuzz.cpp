// Values the installer reads from the CD's description files and from korva.ini: sizes,
// memory pairs, map-set names and lists, "Presence", "FirstDir", typed paths and file lists.
// Whatever the text, nothing overflows and every result keeps its promised form.
#include "install/engine/portable/settings_logic.h"
#include "install/engine/portable/setup_values.h"
#include "install/launcher/portable/launcher_logic.h"
#include "install/shared/portable/paths.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace korva;

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsPairText(const std::string& text) {
    std::size_t comma = text.find(',');
    if (comma == std::string::npos || comma == 0 || comma + 1 == text.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (i != comma && (text[i] < '0' || text[i] > '9')) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t split = text.find('\n');
    const std::string first = text.substr(0, split);
    const std::string second = split == std::string::npos ? "" : text.substr(split + 1);

    ParseUnsignedValue(text);
    ParseSignedValue(text);
    SpaceNeeded(static_cast<int>(size % 4), ParseUnsignedValue(first), ParseUnsignedValue(second));

    const std::string scaled = ScaleMemoryPair(text);
    Check(IsPairText(scaled));
    Check(ScaleMemoryPair(scaled).size() <= 21);

    const std::string name = MapSetName(first);
    Check(name.find('.') == std::string::npos);
    const std::string list = AppendMapSetList(second, name);
    Check(list == second ||
          (list.size() <= kMapSetListLimit && !list.empty() && list.back() == '.'));

    IsEditionAbsent(first);
    const std::string source = ResolveFirstDir(second, first);
    // Unchanged, or under the installer's directory, directly or with a backslash between.
    Check(source.size() == first.size() || source.size() == first.size() + second.size() ||
          source == JoinPath(second, first));

    const std::string normal = NormalizePath(text);
    Check(normal.size() == text.size() || normal.size() + 1 == text.size());
    PathField field;
    Check(CopyToField(field, text) == (text.size() < kPathSize));

    std::size_t names = 0;
    for (const std::string& entry : SplitFileList(text)) {
        Check(!entry.empty() && entry.find(',') == std::string::npos);
        names += entry.size();
    }
    Check(names <= text.size());
    return 0;
}

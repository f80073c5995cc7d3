#include "framework/portable/mount_table_text.h"

namespace fw {

namespace {

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

std::string Unescaped(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            text += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                      (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

} // namespace

std::vector<std::string> MountPointsOfTable(std::string_view table) {
    // Each line: mount id, parent id, device, root, mount point, options, ...
    constexpr int kMountPointField = 4;
    std::vector<std::string> points;
    while (!table.empty()) {
        const std::size_t end = table.find('\n');
        std::string_view line = end == std::string_view::npos ? table : table.substr(0, end);
        table.remove_prefix(end == std::string_view::npos ? table.size() : end + 1);
        int field = 0;
        while (!line.empty()) {
            const std::size_t start = line.find_first_not_of(' ');
            if (start == std::string_view::npos) {
                break;
            }
            line.remove_prefix(start);
            const std::size_t stop = line.find(' ');
            const std::string_view value =
                stop == std::string_view::npos ? line : line.substr(0, stop);
            if (field == kMountPointField) {
                if (value.starts_with('/')) {
                    points.push_back(Unescaped(value));
                }
                break;
            }
            line.remove_prefix(value.size());
            ++field;
        }
    }
    return points;
}

} // namespace fw

#include "core/model/UserInteraction.h"

std::vector<FileFilter> ParseFilterText(const std::string& text) {
    std::vector<FileFilter> filters;
    std::vector<std::string> parts;
    std::string current;
    for (char c : text) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty())
            break;  // "||" ends the list
        filters.push_back({parts[i], parts[i + 1]});
    }
    return filters;
}

std::string FormatMessage(const std::string& format, const std::vector<std::string>& args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        // %s, %d and %1d each take the next argument, already formatted as text.
        std::size_t length = 0;
        if (format.compare(i, 2, "%s") == 0 || format.compare(i, 2, "%d") == 0) {
            length = 2;
        } else if (format.compare(i, 3, "%1d") == 0) {
            length = 3;
        }
        if (length > 0) {
            if (next < args.size())
                out += args[next++];
            i += length - 1;
        } else {
            out += format[i];
        }
    }
    return out;
}

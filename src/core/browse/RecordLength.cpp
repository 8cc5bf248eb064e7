#include "core/browse/RecordLength.h"

#include <algorithm>

#include "core/browse/RawFile.h"
#include "core/model/UserInteraction.h"

std::optional<int> FindRecordLength(std::string_view head, std::int64_t fileLength) {
    const std::int64_t limit = std::min<std::int64_t>(fileLength, kRecordLengthSearchLimit);
    std::size_t next = 0;
    int count = 0;
    for (;;) {
        // Read the next byte; the file (or what we were given of it) may end first.
        if (next >= head.size())
            return std::nullopt;
        const char byte = head[next++];
        ++count;
        if (byte == '\n')
            return count;
        if (byte == '\r') {
            // A carriage return ends the record; a line feed right behind it belongs to it.
            if (next < head.size() && head[next] == '\n')
                ++count;
            return count;
        }
        if (count >= limit)
            return std::nullopt;
    }
}

std::optional<int> DetectRecordLength(const std::string& path, IUserInteraction& ui) {
    if (path.empty()) {
        ui.ShowMessage("Please choose a data file\nbefore pressing this button.",
                       MessageIcon::Stop);
        return std::nullopt;
    }
    CRawFile file;
    if (!file.Open(path)) {
        ui.ShowMessage(FormatMessage("Unable to open file \"%s\".", {path}), MessageIcon::Stop);
        return std::nullopt;
    }
    // The search limit plus the line feed that may follow a carriage return at the limit.
    std::string head(kRecordLengthSearchLimit + 1, '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    const std::optional<int> length = FindRecordLength(head, file.Length());
    if (!length) {
        ui.ShowMessage(FormatMessage("Unable to detect an end-of-line byte\nsequence in the "
                                     "first 1000 bytes of\nfile \"%s\".\nPlease make sure that "
                                     "it really is an\nASCII data file!",
                                     {path}),
                       MessageIcon::Information);
    }
    return length;
}

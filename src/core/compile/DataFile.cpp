#include "core/compile/DataFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/io/FileReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

namespace fs = std::filesystem;

namespace {

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// A path in the form another system writes it: a drive letter or backslashes.
bool LooksForeign(const std::string& path) {
    if (path.find('\\') != std::string::npos)
        return true;
    return path.size() >= 2 && path[1] == ':' &&
           std::isalpha(static_cast<unsigned char>(path[0])) != 0;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The entry of folder whose name equals name ignoring case; exact matches first.
std::string FindIgnoringCase(const fs::path& folder, const std::string& name) {
    if (name.empty())
        return {};
    if (IsRegularFile(folder / name))
        return (folder / name).string();
    std::error_code ec;
    std::vector<std::string> matches;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name) && IsRegularFile(it->path())) {
            matches.push_back(it->path().string());
        }
    }
    if (matches.empty())
        return {};
    // Several spellings of one name: take the first in byte order, the same on every run.
    return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

DataFileChoice ChooseDataFile(const CCatforgeDoc& doc, const std::string& given) {
    if (!given.empty())
        return {given, given};
    return {doc.GetDataFile(), ResolveDataFile(doc.GetDataFile(), doc.GetPathName())};
}

std::string ResolveDataFile(const std::string& dataFile, const std::string& definitionPath) {
    if (dataFile.empty())
        return dataFile;
    const fs::path folder =
        definitionPath.empty() ? fs::path() : fs::path(definitionPath).parent_path();
    const fs::path written(dataFile);
    if (!LooksForeign(dataFile)) {
        if (written.is_absolute())
            return dataFile;
        if (!definitionPath.empty() && IsRegularFile(folder / written)) {
            return (folder / written).string();
        }
        return dataFile;
    }
    if (IsRegularFile(written))
        return dataFile;
    // The file name after the last separator of either system.
    const std::size_t cut = dataFile.find_last_of("\\/:");
    const std::string name = cut == std::string::npos ? dataFile : dataFile.substr(cut + 1);
    const std::string found = FindIgnoringCase(folder.empty() ? fs::path(".") : folder, name);
    return found.empty() ? dataFile : found;
}

bool CountRecords(const std::string& path, const std::string& shownName, int recordLength,
                  int& count, IUserInteraction& ui) {
    count = 0;
    // The file is read twice, so it must be a regular file: a FIFO or device would block,
    // never end, or give the second pass other bytes than the first.
    std::string kind;
    const int fd = OpenInputFile(path, kind);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        std::string message = FormatMessage("Unable to open file\n\"%s\"", {shownName});
        if (!kind.empty())
            message += "\nIt is " + kind + ", not a regular file.";
        ui.ShowMessage(message, MessageIcon::Stop);
        return false;
    }
    // Every read but the last returns a whole record.
    const std::uint64_t records =
        static_cast<std::uint64_t>(st.st_size) / static_cast<std::uint64_t>(recordLength);
    ::close(fd);
    if (records > static_cast<std::uint64_t>(INT_MAX)) {
        ui.ShowMessage(FormatMessage("The data file \"%s\" holds %s records,\nmore than a "
                                     "catalogue can hold (2147483647).",
                                     {shownName, std::to_string(records)}),
                       MessageIcon::Stop);
        return false;
    }
    count = static_cast<int>(records);
    if (count == 0) {
        ui.ShowMessage("This file contains no data!", MessageIcon::Stop);
        return false;
    }
    return true;
}

CRecordSource::~CRecordSource() {
    Close();
}

bool CRecordSource::Open(const std::string& path, std::size_t recordLength) {
    Close();
    m_nRecordLength = recordLength;
    std::string kind;
    m_nFd = OpenInputFile(path, kind);
    if (m_nFd >= 0)
        ::posix_fadvise(m_nFd, 0, 0, POSIX_FADV_SEQUENTIAL);
    return m_nFd >= 0 && recordLength > 0;
}

std::size_t CRecordSource::Read(char* buffer, std::size_t maxRecords) {
    if (m_nFd < 0)
        return 0;
    const std::size_t got = ReadFully(m_nFd, buffer, maxRecords * m_nRecordLength);
    return got / m_nRecordLength;
}

void CRecordSource::Close() {
    if (m_nFd >= 0)
        ::close(m_nFd);
    m_nFd = -1;
}

// The ASCII data file of a compile: finding it, counting its whole records and reading them
// in large blocks.
#pragma once

#include <cstddef>
#include <string>

class CCatforgeDoc;
class IUserInteraction;

// Where the data file named in a definition lies. An absolute path is taken as it is; a
// relative one is looked up beside the definition first, then in the current folder. A path
// written on another system (C:\CATALOGS\NGC.DAT) that does not exist here is looked up by
// its file name, ignoring case, beside the definition. When nothing is found the path is
// returned unchanged, so that opening it fails with the name the user wrote.
std::string ResolveDataFile(const std::string& dataFile, const std::string& definitionPath);

// The data file a compile or a check reads: the one given (named as given), else the
// definition's, resolved by ResolveDataFile (named as the definition names it).
struct DataFileChoice {
    std::string shownName;
    std::string path;
};
DataFileChoice ChooseDataFile(const CCatforgeDoc& doc, const std::string& given);

// Counts the whole records of the file at path: the number of full reads of recordLength
// bytes before the first short one; a partial last record is ignored. Reports
// "Unable to open file\n\"<shownName>\"" or "This file contains no data!" through ui and
// returns false when the file cannot be opened or holds no whole record (count is then 0).
// recordLength must be at least 1.
[[nodiscard]] bool CountRecords(const std::string& path, const std::string& shownName,
                                int recordLength, int& count, IUserInteraction& ui);

// Reads whole records from the start of a file, many at a time.
class CRecordSource {
public:
    CRecordSource() = default;
    ~CRecordSource();
    CRecordSource(const CRecordSource&) = delete;
    CRecordSource& operator=(const CRecordSource&) = delete;

    [[nodiscard]] bool Open(const std::string& path, std::size_t recordLength);
    // Fills buffer with up to maxRecords whole records; returns how many it read (fewer only
    // at the end of the file or on a read error; a partial record at the end is dropped).
    std::size_t Read(char* buffer, std::size_t maxRecords);
    void Close();

private:
    int m_nFd = -1;
    std::size_t m_nRecordLength = 0;
};

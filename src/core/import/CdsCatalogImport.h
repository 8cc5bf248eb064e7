// The whole import of a VizieR catalogue, as the File command and catforge-cli run it: read
// and parse the ReadMe, find the data file, normalise it into a fixed-length copy, and fill
// the definition from the byte-by-byte description.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/import/CdsDataCopy.h"
#include "core/import/CdsImporter.h"
#include "core/import/DataNormalizer.h"

class CCatforgeDoc;

// Larger ReadMe files are refused rather than read into memory.
inline constexpr std::uint64_t kMaxReadMeSize = std::uint64_t{64} << 20;

struct CdsImportRequest {
    std::string m_strReadMe;  // path of the ReadMe
    // The described file to import, by name ("table1.dat"). Empty: the data file's name, or
    // when that is empty too the one file the ReadMe describes (several are an error).
    std::string m_strFile;
    // The data file to read. Empty: m_strFile beside the ReadMe, also with .gz, .dat,
    // .dat.gz or .txt, or its pieces NAME.00, NAME.01, ... read in order; for a single-file
    // table, the ReadMe itself.
    std::string m_strDataFile;
    // Write the data into a fixed-length copy that the definition names: records without a
    // position left out, trailing blanks dropped, columns for scaled units and catalogue
    // numbers appended. Without,
    // the definition names the data file itself, whose lines must then all be of the
    // ReadMe's length.
    bool m_bNormalize = true;
    // Where the normalised copy goes. Empty: FixedFileName of the data file's name, in
    // m_strFixedFolder (beside the data file when that is empty too).
    std::string m_strFixedFile;
    std::string m_strFixedFolder;
    // The definition file the result will be saved as, if known: it must not be one of the
    // files the import reads.
    std::string m_strDefinitionFile;
};

struct CdsImportResult {
    std::string m_strDataFile;  // the (first) data file that was read
    std::vector<std::string> m_astrDataFiles;
    int m_nSkippedLines = 0;  // lines before the data in the first file
    int m_nRecordLength = 0;  // of the copy
    CdsCopyReport m_copy;
    std::string m_strFixedFile;  // the file the definition names (absolute)
    bool m_bNormalized = false;
    NormalizeReport m_normalize;  // the measured data file, without a copy
    CdsImportReport m_import;

    // The normalisation's and the import's reports, for the person who asked.
    std::string Text() const;
};

// Runs the import into doc (replacing its definition; the modified flag is left alone). On
// failure error says why (a ReadMe error names the line) and neither doc nor any file changed.
[[nodiscard]] bool ImportCdsCatalogue(const CdsImportRequest& request, CCatforgeDoc& doc,
                                      CdsImportResult& result, std::string& error);

// The data files for a described file name in folder: NAME, NAME.dat or NAME.txt (each also
// with .gz), else the pieces NAME.00, NAME.01, ...; empty when there are none.
std::vector<std::string> FindCdsDataFiles(const std::string& folder, const std::string& name);

// The proposed name of a normalised copy: table1.dat and table1.dat.gz give table1.fixed.dat,
// in the same folder; a name without extension gets ".fixed".
std::string FixedFileName(const std::string& dataPath);

#include "core/import/CdsCatalogImport.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "core/import/CdsDataCopy.h"
#include "core/io/AtomicFile.h"
#include "core/io/FileReading.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"

namespace fs = std::filesystem;

namespace {

bool IsRegularFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

std::string AbsolutePath(const std::string& path) {
    std::error_code ec;
    const fs::path absolute = fs::absolute(path, ec);
    return ec ? path : absolute.lexically_normal().string();
}

}  // namespace

std::string FixedFileName(const std::string& dataPath) {
    fs::path path(dataPath);
    if (path.extension() == ".gz")
        path.replace_extension();
    const std::string extension = path.extension().string();
    path.replace_extension();
    path += extension.empty() ? ".fixed" : ".fixed" + extension;
    return path.string();
}

std::string CdsImportResult::Text() const {
    std::string text;
    if (m_bNormalized)
        text = m_copy.Text(m_strFixedFile, m_nRecordLength) + "\n\n";
    return text + m_import.Text();
}

std::vector<std::string> FindCdsDataFiles(const std::string& folder, const std::string& name) {
    const fs::path base = fs::path(folder) / name;
    auto existing = [](const fs::path& plain) -> std::string {
        fs::path compressed = plain;
        compressed += ".gz";
        if (IsRegularFile(plain))
            return plain.string();
        if (IsRegularFile(compressed))
            return compressed.string();
        return {};
    };
    for (const char* ending : {"", ".dat", ".txt"}) {
        fs::path candidate = base;
        candidate += ending;
        const std::string found = existing(candidate);
        if (!found.empty())
            return {found};
    }
    // Pieces NAME.00, NAME.01, ... (each plain or .gz), in order up to the first missing one.
    std::vector<std::string> pieces;
    for (int k = 0; k < 1000; ++k) {
        fs::path candidate = base;
        candidate += (k < 10 ? ".0" : ".") + std::to_string(k);
        const std::string found = existing(candidate);
        if (found.empty())
            break;
        pieces.push_back(found);
    }
    return pieces;
}

bool ImportCdsCatalogue(const CdsImportRequest& request, CCatforgeDoc& doc, CdsImportResult& result,
                        std::string& error) {
    result = CdsImportResult{};
    std::string text;
    std::string readError;
    if (!ReadWholeFile(request.m_strReadMe, text, &readError, kMaxReadMeSize)) {
        error = readError;
        return false;
    }
    CCdsReadMe readMe;
    if (!readMe.Parse(text)) {
        error = "\"" + CdsReadable(request.m_strReadMe) + "\", " + readMe.Error();
        return false;
    }

    // Which described file, and where its data is.
    auto describedNames = [&readMe] {
        std::string names;
        for (const CdsByteDescription& description : readMe.m_aDescriptions) {
            for (const std::string& name : description.m_astrFiles)
                names += (names.empty() ? "" : ", ") + CdsReadable(name);
        }
        return names;
    };
    std::string file = request.m_strFile;
    // A data file chosen as one piece NAME.00 of NAME stands for all its pieces.
    std::string pieceOf;
    if (!request.m_strDataFile.empty()) {
        const std::string bare = CdsBareFileName(request.m_strDataFile);
        if (bare.size() > 3 && bare[bare.size() - 3] == '.' &&
            std::isdigit(static_cast<unsigned char>(bare[bare.size() - 2])) &&
            std::isdigit(static_cast<unsigned char>(bare.back())) &&
            readMe.FindDescription(bare) == nullptr &&
            readMe.FindDescription(bare.substr(0, bare.size() - 3)) != nullptr)
            pieceOf = bare.substr(0, bare.size() - 3);
    }
    if (file.empty() && !pieceOf.empty())
        file = pieceOf;
    if (file.empty() && !request.m_strDataFile.empty() &&
        readMe.FindDescription(request.m_strDataFile) != nullptr)
        file = CdsBareFileName(request.m_strDataFile);
    if (file.empty()) {
        std::size_t count = 0;
        for (const CdsByteDescription& description : readMe.m_aDescriptions)
            count += description.m_astrFiles.size();
        if (count != 1 && readMe.m_nDataLine == 0) {
            error = "The ReadMe describes several files (" + describedNames() + "); choose one.";
            return false;
        }
        // A single-file table's data belongs to its last description.
        file = readMe.m_aDescriptions.back().m_astrFiles.front();
    }
    if (readMe.FindDescription(file) == nullptr) {
        error = "The ReadMe has no byte-by-byte description of \"" +
                CdsReadable(CdsBareFileName(file)) + "\"; it describes " + describedNames() + ".";
        return false;
    }
    const CdsByteDescription& description = *readMe.FindDescription(file);
    std::vector<std::string> files;
    int skipLines = 0;
    std::error_code ec;
    if (!pieceOf.empty()) {
        const std::string folder = fs::path(request.m_strDataFile).parent_path().string();
        files = FindCdsDataFiles(folder.empty() ? "." : folder, pieceOf);
    } else if (!request.m_strDataFile.empty()) {
        files = {request.m_strDataFile};
        if (readMe.m_nDataLine > 0 &&
            fs::equivalent(request.m_strDataFile, request.m_strReadMe, ec))
            skipLines = readMe.m_nDataLine - 1;
    } else {
        const std::string folder = fs::path(request.m_strReadMe).parent_path().string();
        files = FindCdsDataFiles(folder.empty() ? "." : folder, CdsBareFileName(file));
        if (files.size() == 1 && fs::equivalent(files[0], request.m_strReadMe, ec))
            files.clear();
        if (files.empty() && readMe.m_nDataLine > 0) {
            files = {request.m_strReadMe};
            skipLines = readMe.m_nDataLine - 1;
        }
        if (files.empty()) {
            const std::string plain = (fs::path(folder) / CdsBareFileName(file)).string();
            error = "Cannot find the data file \"" + CdsReadable(plain) +
                    "\" beside the ReadMe (also looked for .gz, .dat, .dat.gz, .txt and pieces "
                    ".00, .01, ...).";
            return false;
        }
    }
    result.m_astrDataFiles = files;
    result.m_strDataFile = files.front();
    result.m_nSkippedLines = skipLines;
    const bool normalize = request.m_bNormalize;
    if (!normalize && (files.size() > 1 || skipLines > 0)) {
        error = "The data is " +
                std::string(skipLines > 0 ? "inside the ReadMe" : "split into pieces") +
                "; it must be copied into one fixed-length file (leave out --no-normalize).";
        return false;
    }
    std::string fixed = request.m_strFixedFile;
    if (normalize && fixed.empty()) {
        std::string dataName = files.front();
        if (files.size() > 1 || skipLines > 0)
            dataName = (fs::path(dataName).parent_path() / CdsBareFileName(file)).string();
        const fs::path folder = request.m_strFixedFolder.empty()
                                    ? fs::path(dataName).parent_path()
                                    : fs::path(request.m_strFixedFolder);
        fixed = (folder / fs::path(FixedFileName(dataName)).filename()).string();
    }
    result.m_strFixedFile = AbsolutePath(normalize ? fixed : files.front());
    if (result.m_strFixedFile.size() >= static_cast<std::size_t>(kMaxDataFilePath)) {
        error = "The data file path is longer than " + std::to_string(kMaxDataFilePath - 1) +
                " characters: \"" + CdsReadable(result.m_strFixedFile) + "\".";
        return false;
    }

    // Nothing is written over a file the import reads.
    const auto readBy = [&](const std::string& output) -> std::string {
        if (SameFile(output, request.m_strReadMe))
            return "the ReadMe";
        for (const std::string& piece : files) {
            if (SameFile(output, piece))
                return "the data file";
        }
        return {};
    };
    std::string over = readBy(request.m_strDefinitionFile);
    if (!over.empty()) {
        error = "The definition \"" + request.m_strDefinitionFile + "\" would be written over " +
                over + "; choose another name.";
        return false;
    }
    if (normalize) {
        over = readBy(fixed);
        if (over.empty() && SameFile(fixed, request.m_strDefinitionFile))
            over = "the definition";
        if (!over.empty()) {
            error = "The normalized data file \"" + fixed + "\" would be written over " + over +
                    "; choose another name.";
            return false;
        }
    }

    const int lineLength = CCdsImporter::LineLengthOf(readMe, file);
    CCdsImporter importer;
    CdsDataProfile profile;
    CdsImportOptions options;
    options.m_bAppendColumns = normalize;
    if (normalize) {
        if (!ProfileCdsData(files, skipLines, description, profile, error))
            return false;
        options.m_pProfile = &profile;
        // The end of line of the copy is that of the data's first line.
        CCdsDataLines probe;
        std::string_view line;
        int eolBytes = 1;
        if (probe.Open(files, skipLines) && probe.Next(line) && probe.CrLf())
            eolBytes = 2;
        if (!importer.Import(readMe, file, result.m_strFixedFile, lineLength + eolBytes, doc,
                             options)) {
            error = importer.Error();
            return false;
        }
        if (!WriteCdsCopy(files, skipLines, importer.Plan(), fixed, result.m_copy, error))
            return false;
        result.m_bNormalized = true;
        result.m_nRecordLength = doc.m_nRecordLength;
    } else {
        CDataNormalizer measurer;
        if (!measurer.Measure(files.front(), result.m_normalize)) {
            error = measurer.Error();
            return false;
        }
        const NormalizeReport& measured = result.m_normalize;
        if (measured.m_bCompressedInput || measured.m_nShortestLine != lineLength ||
            measured.m_nLineLength != lineLength) {
            error = "The lines of \"" + CdsReadable(files.front()) + "\" are not all " +
                    std::to_string(lineLength) + " bytes long" +
                    (measured.m_bCompressedInput ? " (it is compressed)" : "") +
                    "; normalize it first.";
            return false;
        }
        if (!importer.Import(readMe, file, result.m_strFixedFile,
                             lineLength + result.m_normalize.m_nEolBytes, doc, options)) {
            error = importer.Error();
            return false;
        }
    }
    result.m_import = importer.Report();
    if (files.size() > 1) {
        result.m_import.m_astrMapped.insert(
            result.m_import.m_astrMapped.begin() + 1,
            "Data read from " + std::to_string(files.size()) + " pieces in order, " +
                fs::path(files.front()).filename().string() + " to " +
                fs::path(files.back()).filename().string());
    } else if (skipLines > 0) {
        result.m_import.m_astrMapped.insert(result.m_import.m_astrMapped.begin() + 1,
                                            "Data read from the ReadMe itself, from line " +
                                                std::to_string(skipLines + 1) +
                                                " (a single-file table)");
    }
    return true;
}

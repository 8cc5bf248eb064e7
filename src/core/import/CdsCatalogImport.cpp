#include "core/import/CdsCatalogImport.h"

#include <filesystem>
#include <system_error>

#include "core/io/AtomicFile.h"
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
        text = DescribeNormalization(m_strDataFile, m_strFixedFile, m_normalize) + "\n\n";
    return text + m_import.Text();
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
        error = "\"" + request.m_strReadMe + "\", " + readMe.Error();
        return false;
    }

    // Which described file, and where its data is.
    std::string file = request.m_strFile;
    if (file.empty() && !request.m_strDataFile.empty())
        file = CdsBareFileName(request.m_strDataFile);
    if (file.empty()) {
        std::string names;
        for (const CdsByteDescription& description : readMe.m_aDescriptions) {
            for (const std::string& name : description.m_astrFiles) {
                names += (names.empty() ? "" : ", ") + name;
                if (file.empty())
                    file = name;
            }
        }
        if (names != file) {
            error = "The ReadMe describes several files (" + names + "); choose one.";
            return false;
        }
    }
    if (readMe.FindDescription(file) == nullptr) {
        std::string names;
        for (const CdsByteDescription& description : readMe.m_aDescriptions) {
            for (const std::string& name : description.m_astrFiles) {
                names += (names.empty() ? "" : ", ") + name;
            }
        }
        error = "The ReadMe has no byte-by-byte description of \"" + CdsBareFileName(file) +
                "\"; it describes " + names + ".";
        return false;
    }
    std::string data = request.m_strDataFile;
    if (data.empty()) {
        const fs::path folder = fs::path(request.m_strReadMe).parent_path();
        const fs::path plain = folder / CdsBareFileName(file);
        fs::path compressed = plain;
        compressed += ".gz";
        if (IsRegularFile(plain)) {
            data = plain.string();
        } else if (IsRegularFile(compressed)) {
            data = compressed.string();
        } else {
            error = "Cannot find the data file \"" + plain.string() + "\" (or \"" +
                    compressed.string() + "\") beside the ReadMe.";
            return false;
        }
    }
    result.m_strDataFile = data;
    const bool normalize = request.m_bNormalize;
    std::string fixed = request.m_strFixedFile;
    if (normalize && fixed.empty()) {
        const fs::path folder = request.m_strFixedFolder.empty()
                                    ? fs::path(data).parent_path()
                                    : fs::path(request.m_strFixedFolder);
        fixed = (folder / fs::path(FixedFileName(data)).filename()).string();
    }
    result.m_strFixedFile = AbsolutePath(normalize ? fixed : data);
    if (result.m_strFixedFile.size() >= static_cast<std::size_t>(kMaxDataFilePath)) {
        error = "The data file path is longer than " + std::to_string(kMaxDataFilePath - 1) +
                " characters: \"" + result.m_strFixedFile + "\".";
        return false;
    }

    // Nothing is written over a file the import reads.
    const int sameAsInput = SameFileIndex(request.m_strDefinitionFile, {request.m_strReadMe, data});
    if (sameAsInput >= 0) {
        error = "The definition \"" + request.m_strDefinitionFile + "\" would be written over " +
                (sameAsInput == 0 ? "the ReadMe" : "the data file") + "; choose another name.";
        return false;
    }
    if (normalize) {
        const int sameAsFixed =
            SameFileIndex(fixed, {request.m_strReadMe, data, request.m_strDefinitionFile});
        if (sameAsFixed >= 0) {
            error = "The normalized data file \"" + fixed + "\" would be written over " +
                    (sameAsFixed == 0   ? "the ReadMe"
                     : sameAsFixed == 1 ? "the data file"
                                        : "the definition") +
                    "; choose another name.";
            return false;
        }
    }

    // Normalise to the ReadMe's line length, or check that the data already has it.
    const int lineLength = CCdsImporter::LineLengthOf(readMe, file);
    if (normalize) {
        CDataNormalizer normalizer(lineLength);
        if (!normalizer.Normalize(data, fixed, result.m_normalize)) {
            error = normalizer.Error();
            return false;
        }
        result.m_bNormalized = true;
    } else {
        CDataNormalizer measurer;
        if (!measurer.Measure(data, result.m_normalize)) {
            error = measurer.Error();
            return false;
        }
        const NormalizeReport& measured = result.m_normalize;
        if (measured.m_bCompressedInput || measured.m_nShortestLine != lineLength ||
            measured.m_nLineLength != lineLength) {
            error = "The lines of \"" + data + "\" are not all " + std::to_string(lineLength) +
                    " bytes long" + (measured.m_bCompressedInput ? " (it is compressed)" : "") +
                    "; normalize it first.";
            return false;
        }
    }

    CCdsImporter importer;
    if (!importer.Import(readMe, file, result.m_strFixedFile,
                         lineLength + result.m_normalize.m_nEolBytes, doc)) {
        error = importer.Error();
        return false;
    }
    result.m_import = importer.Report();
    return true;
}

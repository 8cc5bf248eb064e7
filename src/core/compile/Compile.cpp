#include "core/compile/Compile.h"

#include <climits>

#include "core/compile/CatalogObject.h"
#include "core/compile/CatalogWriter.h"
#include "core/compile/CompileTable.h"
#include "core/compile/DataFile.h"
#include "core/compile/RecordDecoder.h"
#include "core/model/CatforgeDoc.h"
#include "core/model/UserInteraction.h"

bool CompileDefinition(CCatforgeDoc& doc, EpochState& epoch, IUserInteraction& ui,
                       const CompileOptions& options) {
    // Refuse what cannot be read before touching any file.
    if (doc.m_nRecordLength < 1) {
        ui.ShowMessage(FormatMessage("The record length is %d.\nPlease set the length of a "
                                     "record (at least 1 byte)\nin the general properties.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    if (doc.m_nRecordLength > INT_MAX - static_cast<int>(catalog_object::kFixedSize)) {
        ui.ShowMessage(FormatMessage("The record length of %d bytes is too large.",
                                     {std::to_string(doc.m_nRecordLength)}),
                       MessageIcon::Stop);
        return false;
    }
    std::string problem;
    if (!CheckUsedFields(doc, problem)) {
        ui.ShowMessage(problem, MessageIcon::Stop);
        return false;
    }

    SetUpEpoch(doc.m_strEpoch, epoch);

    const bool given = !options.dataFile.empty();
    const std::string shownName = given ? options.dataFile : doc.GetDataFile();
    const std::string path =
        given ? options.dataFile : ResolveDataFile(doc.GetDataFile(), doc.GetPathName());
    int count = 0;
    if (!CountRecords(path, shownName, doc.m_nRecordLength, count, ui))
        return false;
    doc.m_nRecordCount = count;
    if (!DecodeRecords(doc, epoch, path, ui, options.threads))
        return false;

    SortCompileTable(doc);
    return WriteCompiledCatalog(doc, ui, {{"definition", doc.GetPathName()}, {"data file", path}});
}

std::string ProposedCatalogName(const std::string& definitionPath) {
    if (definitionPath.empty())
        return "Untitled.zdc";
    // Only the file name's extension is replaced; a name that starts with its only dot (a
    // hidden file) has none.
    const std::size_t nameStart = definitionPath.rfind('/') + 1;  // 0 without a folder
    const std::size_t dot = definitionPath.rfind('.');
    if (dot == std::string::npos || dot <= nameStart)
        return definitionPath + ".zdc";
    return definitionPath.substr(0, dot) + ".zdc";
}

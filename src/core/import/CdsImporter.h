// Turning the byte-by-byte description of one data file in a CDS ReadMe into a definition.
//
// Every described field becomes a field named by its Label with its Units. Then the importer
// fills what it recognises by the standard CDS labels and units:
// - position: RAh, RAm, RAs (notation 0, or 1 without RAs, or 2 for decimal hours in RAh alone)
//   and DE-, DEd, DEm, DEs (notation 0, or 1 without DEs), else DEdeg as signed degrees;
//   a right ascension in degrees (RAdeg) cannot be read by a definition and is left unset;
// - epoch: the equinox in the position explanations or the notes ("Equinox=B1950.0", "J2000",
//   "ICRS", "FK4", ...); a bare "Epoch=" is the epoch of observation and is not taken;
// - label 1: the first text field whose label or explanation marks it as a name;
// - magnitudes: fields in unit mag (not errors, flags or colours), V first, at most three;
// - size: MajAxis/MinAxis-like labels (also Diam, Size) in deg, arcmin or arcsec;
// - position angle: a PA-like label or "position angle" in deg.
// Anything else is left at the definition's defaults, and the report says so.
#pragma once

#include <string>
#include <vector>

#include "core/import/CdsReadMe.h"

class CCatforgeDoc;

struct CdsImportReport {
    std::string m_strFile;                    // the data file the description is for
    std::vector<std::string> m_astrMapped;    // what the importer set, one line each
    std::vector<std::string> m_astrToChoose;  // what the user still has to decide

    // "Imported ...\nMapped:\n  ...\nStill to choose:\n  ..."
    std::string Text() const;
};

class CCdsImporter {
public:
    // Replaces the definition in doc with one for fileName as readMe describes it. dataPath
    // is the data file the definition names, recordLength its record length (end of line
    // included), which must hold every field. On failure Error() says why and doc is
    // untouched. The modified flag is left to the caller.
    [[nodiscard]] bool Import(const CCdsReadMe& readMe, const std::string& fileName,
                              const std::string& dataPath, int recordLength, CCatforgeDoc& doc);

    const std::string& Error() const { return m_strError; }
    const CdsImportReport& Report() const { return m_report; }

    // The line length (without end of line) the data file should have: the summary's Lrecl,
    // or the last described byte when that is larger or no Lrecl is given.
    static int LineLengthOf(const CCdsReadMe& readMe, const std::string& fileName);

    // The epoch named in text ("J2000" gives "J2000.0"), empty when none is found.
    static std::string FindEpoch(const std::string& text);

private:
    std::string m_strError;
    CdsImportReport m_report;
};

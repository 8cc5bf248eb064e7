// Operations / RA/Dec, Labels, Size and Magnitude: each copies its group of the document into
// its dialog with the field names, runs it, and on OK copies the whole group back (rows and
// boxes the chosen notation or count does not use too) and marks the document modified, even
// when nothing changed. Cancel leaves the document as it was.
#include <QDialog>

#include "core/model/CatforgeDoc.h"
#include "gui/editors/EditorCommands.h"
#include "gui/editors/LabelDlg.h"
#include "gui/editors/MagnitudeDlg.h"
#include "gui/editors/RaDecDlg.h"
#include "gui/editors/SizeDlg.h"
#include "gui/widgets/FieldSelectionBox.h"
#include "gui/widgets/ModalRun.h"

bool RunRaDecEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CRaDecDlg dlg(ui, parent);
    dlg.m_astrFieldNames = FieldNames(doc);
    dlg.m_nRaNotation = doc.m_nRaNotation;
    dlg.m_nDecNotation = doc.m_nDecNotation;
    dlg.m_nRaHoursField = doc.m_nRaHoursField;
    dlg.m_nRaMinutesField = doc.m_nRaMinutesField;
    dlg.m_nRaSecondsField = doc.m_nRaSecondsField;
    dlg.m_nDecSignField = doc.m_nDecSignField;
    dlg.m_nDecDegreesField = doc.m_nDecDegreesField;
    dlg.m_nDecMinutesField = doc.m_nDecMinutesField;
    dlg.m_nDecSecondsField = doc.m_nDecSecondsField;
    dlg.m_strEpoch = doc.m_strEpoch;
    dlg.OnInitDialog();
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_nRaNotation = dlg.m_nRaNotation;
    doc.m_nDecNotation = dlg.m_nDecNotation;
    doc.m_nRaHoursField = dlg.m_nRaHoursField;
    doc.m_nRaMinutesField = dlg.m_nRaMinutesField;
    doc.m_nRaSecondsField = dlg.m_nRaSecondsField;
    doc.m_nDecSignField = dlg.m_nDecSignField;
    doc.m_nDecDegreesField = dlg.m_nDecDegreesField;
    doc.m_nDecMinutesField = dlg.m_nDecMinutesField;
    doc.m_nDecSecondsField = dlg.m_nDecSecondsField;
    doc.m_strEpoch = dlg.m_strEpoch;
    doc.SetModifiedFlag(true);
    return true;
}

bool RunLabelsEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CLabelDlg dlg(ui, parent);
    dlg.m_astrFieldNames = FieldNames(doc);
    dlg.m_nLabelCount = doc.m_nLabelCount;
    dlg.m_anLabelField = doc.m_anLabelField;
    dlg.m_astrLabelPrefix = doc.m_astrLabelPrefix;
    dlg.OnInitDialog();
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_nLabelCount = dlg.m_nLabelCount;
    doc.m_anLabelField = dlg.m_anLabelField;
    doc.m_astrLabelPrefix = dlg.m_astrLabelPrefix;
    doc.SetModifiedFlag(true);
    return true;
}

bool RunSizeEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CSizeDlg dlg(ui, parent);
    dlg.m_astrFieldNames = FieldNames(doc);
    dlg.m_nSizeFields = doc.m_nSizeFields;
    dlg.m_nSizeUnits = doc.m_nSizeUnits;
    dlg.m_nSizeMeaning = doc.m_nSizeMeaning;
    dlg.m_nMajorAxisField = doc.m_nMajorAxisField;
    dlg.m_nMinorAxisField = doc.m_nMinorAxisField;
    dlg.m_bPositionAngle = doc.m_bPositionAngle;
    dlg.m_nPositionAngleField = doc.m_nPositionAngleField;
    dlg.OnInitDialog();
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_nSizeFields = dlg.m_nSizeFields;
    doc.m_nSizeUnits = dlg.m_nSizeUnits;
    doc.m_nSizeMeaning = dlg.m_nSizeMeaning;
    doc.m_nMajorAxisField = dlg.m_nMajorAxisField;
    doc.m_nMinorAxisField = dlg.m_nMinorAxisField;
    doc.m_bPositionAngle = dlg.m_bPositionAngle;
    doc.m_nPositionAngleField = dlg.m_nPositionAngleField;
    doc.SetModifiedFlag(true);
    return true;
}

bool RunMagnitudeEditor(CCatforgeDoc& doc, IUserInteraction& ui, QWidget* parent) {
    CMagnitudeDlg dlg(ui, parent);
    dlg.m_astrFieldNames = FieldNames(doc);
    dlg.m_nMagnitudeCount = doc.m_nMagnitudeCount;
    dlg.m_anMagnitudeField = doc.m_anMagnitudeField;
    dlg.OnInitDialog();
    if (RunModal(dlg) != QDialog::Accepted)
        return false;

    doc.m_nMagnitudeCount = dlg.m_nMagnitudeCount;
    doc.m_anMagnitudeField = dlg.m_anMagnitudeField;
    doc.SetModifiedFlag(true);
    return true;
}

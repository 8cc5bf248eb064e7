// The "Fields from Data" dialog: the first lines of the data file in a fixed-pitch view under
// a column ruler, the columns blank in every line shaded, and the fields marked on it by
// dragging across columns (or clicking a suggested field), named and shown as coloured bands.
// The fields it gives go to the Field Definitions list, whose own rules decide on them.
#pragma once

#include <QAbstractScrollArea>
#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "core/browse/FieldsFromData.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// The data under its ruler. Columns are 1-based; a drag selects a run of them.
class CColumnView : public QAbstractScrollArea {
    Q_OBJECT
public:
    CColumnView(const DataSample& sample, const CFieldLayout& layout, QWidget* parent = nullptr);

    [[nodiscard]] std::optional<ColumnRange> Selection() const { return m_selection; }
    void SetSelection(std::optional<ColumnRange> columns);
    // The column under a point of the viewport (may lie past the data).
    [[nodiscard]] int ColumnAt(int x) const;
    // The viewport x of the left edge of a column.
    [[nodiscard]] int ColumnX(int column) const;
    [[nodiscard]] int CharWidth() const { return m_nCharWidth; }
    // The viewport y of the first data line.
    [[nodiscard]] int DataTop() const { return m_nLineHeight * 3; }

    QSize sizeHint() const override;

signals:
    void selectionChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    void UpdateScrollBars();

    const DataSample& m_sample;
    const CFieldLayout& m_layout;
    std::vector<bool> m_abBlank;
    std::vector<ColumnRange> m_aSuggestions;
    std::vector<QString> m_astrLines;
    std::optional<ColumnRange> m_selection;
    int m_nPressColumn = 0;
    bool m_bDragging = false;
    bool m_bLeftPressColumn = false;
    int m_nCharWidth = 8;
    int m_nLineHeight = 16;
};

class CFieldsFromDataDlg : public QDialog {
    Q_OBJECT
public:
    // existing: the fields the list holds now; currentRecordLength: the definition's (0: none).
    CFieldsFromDataDlg(const std::string& path, const DataSample& sample,
                       const std::vector<FieldDefinition>& existing, int currentRecordLength,
                       QWidget* parent = nullptr);

    // The fields added here, ordered by start column.
    [[nodiscard]] const std::vector<FieldDefinition>& Fields() const { return m_layout.Added(); }
    // The record length to set, when the person asked for it.
    [[nodiscard]] std::optional<int> RecordLength() const;

    // Adds the selected columns as a field with the name and unit entered; a refusal is shown
    // beside the controls. True when the field was added.
    bool OnAddField();
    void OnAddSuggestions();
    void OnRemove();

    CColumnView* View() const { return m_pView; }
    QLineEdit* NameEdit() const { return m_pName; }
    QLineEdit* UnitEdit() const { return m_pUnit; }
    QLabel* ProblemLabel() const { return m_pProblem; }
    QTreeWidget* List() const { return m_pList; }
    QCheckBox* RecordLengthBox() const { return m_pRecordLength; }

private:
    void OnSelectionChanged();
    void ShowFields();

    DataSample m_sample;
    CFieldLayout m_layout;
    std::vector<ColumnRange> m_aSuggestions;
    std::optional<int> m_nProposedLength;
    CColumnView* m_pView;
    QLabel* m_pColumns;
    QLineEdit* m_pName;
    QLineEdit* m_pUnit;
    QPushButton* m_pAdd;
    QPushButton* m_pOk;
    QLabel* m_pProblem;
    QTreeWidget* m_pList;
    QPushButton* m_pRemove;
    QCheckBox* m_pRecordLength = nullptr;
};

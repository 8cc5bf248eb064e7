// The sky map beside the overview: the objects of the data file as the definition decodes
// them, on an all-sky chart. Decoding and drawing run on a worker thread; a newer definition
// cancels the job in progress, so the window never waits for the map.
#pragma once

#include <QImage>
#include <QWidget>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "core/compile/SkySample.h"

class CCatforgeDoc;

class CSkyMapWidget : public QWidget {
    Q_OBJECT
public:
    // Produces the problem summary under the map, on the worker thread, from the definition
    // and its resolved data file; returns an empty text when cancel is set. Without one the
    // summary gives the counts the decoding itself finds.
    using SummaryFunction = std::function<std::string(
        const CCatforgeDoc& doc, const std::string& dataPath, const std::atomic<bool>& cancel)>;

    explicit CSkyMapWidget(QWidget* parent = nullptr);
    ~CSkyMapWidget() override;

    void SetSummaryFunction(SummaryFunction function) { m_fnSummary = std::move(function); }

    // Redraws the map for doc when its definition or data file differ from the last ones.
    void ShowDefinition(const CCatforgeDoc& doc);

    // The objects of the last finished job (null before the first) and its summary line.
    std::shared_ptr<const SkySample> Sample() const { return m_pSample; }
    const QString& Summary() const { return m_strSummary; }
    bool Busy() const { return m_bBusy; }
    // The selected record's number (0-based), or -1.
    long long SelectedRecord() const { return m_nSelected; }

    // The object nearest the pixel within a few pixels, or -1 (an index into Sample()).
    int ObjectAt(QPointF pixel) const;

signals:
    // A job finished: the map, the summary and the counts are new.
    void mapChanged();
    // A click chose the object of this record (0-based), or none (-1).
    void recordSelected(long long record);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Job;
    struct Result;
    void Start(std::shared_ptr<const CCatforgeDoc> doc, std::shared_ptr<const SkySample> sample);
    void Finished(const std::shared_ptr<Result>& result);
    void ReapJobs(bool all);

    SummaryFunction m_fnSummary;
    std::string m_strKey;  // what the map shows: definition bytes and data file
    std::shared_ptr<const CCatforgeDoc> m_pDoc;  // a copy of the definition last shown
    std::string m_strDataPath;                   // its data file, resolved
    std::shared_ptr<const SkySample> m_pSample;
    std::vector<float> m_afChartX, m_afChartY;  // chart units of each object
    QImage m_image;
    QString m_strSummary;
    bool m_bBusy = false;
    bool m_bDecodePending = false;  // a job decodes a new definition's records
    long long m_nSelected = -1;
    unsigned m_nGeneration = 0;
    std::vector<std::shared_ptr<Job>> m_apJobs;
};

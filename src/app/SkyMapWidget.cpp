#include "app/SkyMapWidget.h"

#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "core/compile/CatalogObject.h"
#include "core/compile/DataFile.h"
#include "core/compile/SkyChart.h"
#include "core/model/CatforgeDoc.h"
#include "gui/widgets/QtText.h"

namespace {

constexpr double kPickRadius = 6.0;

QString RaText(double ra) {
    double hours = std::fmod(ra * 12 / M_PI, 24.0);
    if (hours < 0)
        hours += 24;
    const int tenths = static_cast<int>(std::lround(hours * 36000));
    return QString("%1h%2m%3s")
        .arg(tenths / 36000, 2, 10, QChar('0'))
        .arg(tenths / 600 % 60, 2, 10, QChar('0'))
        .arg(QString::number(tenths % 600 / 10.0, 'f', 1).rightJustified(4, '0'));
}

QString DecText(double dec) {
    const int seconds = static_cast<int>(std::lround(std::fabs(dec) * 180 / M_PI * 3600));
    return QString("%1%2°%3′%4″")
        .arg(dec < 0 ? '-' : '+')
        .arg(seconds / 3600, 2, 10, QChar('0'))
        .arg(seconds / 60 % 60, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'));
}

QString Count(std::size_t n) {
    return QLocale(QLocale::English).toString(static_cast<qulonglong>(n));
}

}  // namespace

struct CSkyMapWidget::Job {
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::thread thread;
};

struct CSkyMapWidget::Result {
    unsigned generation = 0;
    std::shared_ptr<const SkySample> sample;
    std::vector<float> chartX, chartY;
    QImage image;
    QString summary;
};

CSkyMapWidget::CSkyMapWidget(QWidget* parent) : QWidget(parent) {
    setObjectName("skyMap");
    setMouseTracking(true);
    setMinimumSize(320, 160);
    setWhatsThis(
        tr("The objects of the data file as the definition decodes them, on an "
           "all-sky chart (right ascension grows to the left). Point at an object "
           "to see it; click to select its record."));
}

CSkyMapWidget::~CSkyMapWidget() {
    ReapJobs(true);
}

void CSkyMapWidget::ReapJobs(bool all) {
    for (auto it = m_apJobs.begin(); it != m_apJobs.end();) {
        Job& job = **it;
        if (all)
            job.cancel = true;
        if (all || job.done) {
            job.thread.join();
            it = m_apJobs.erase(it);
        } else {
            ++it;
        }
    }
}

void CSkyMapWidget::ShowDefinition(const CCatforgeDoc& doc) {
    const std::string bytes = doc.EncodeDefinition();
    const std::string path = ResolveDataFile(doc.GetDataFile(), doc.GetPathName());
    // A data file rewritten in place (normalised, say) is a change too.
    const QFileInfo file(QString::fromLocal8Bit(path.c_str()));
    const std::string key = bytes + '\n' + path + '\n' + std::to_string(file.size()) + '\n' +
                            std::to_string(file.lastModified().toMSecsSinceEpoch());
    if (key == m_strKey)
        return;
    m_strKey = key;
    auto snapshot = std::make_shared<CCatforgeDoc>();
    std::string error;
    if (!snapshot->DecodeDefinition(bytes, error))
        return;
    m_pDoc = std::move(snapshot);
    m_strDataPath = path;
    m_nSelected = -1;
    m_bDecodePending = true;
    Start(m_pDoc, nullptr);
}

void CSkyMapWidget::Start(std::shared_ptr<const CCatforgeDoc> doc,
                          std::shared_ptr<const SkySample> known) {
    ReapJobs(false);
    for (const auto& job : m_apJobs)
        job->cancel = true;
    m_bBusy = true;
    update();

    auto job = std::make_shared<Job>();
    Job* const state = job.get();
    const QSize size = this->size();
    const QColor paper = palette().color(QPalette::Window);
    const SummaryFunction summaryFunction = m_fnSummary;
    const QString knownSummary = m_strSummary;
    const std::string path = m_strDataPath;
    const unsigned generation = ++m_nGeneration;
    job->thread = std::thread([this, state, doc, path, known, size, paper, summaryFunction,
                               knownSummary, generation] {
        auto result = std::make_shared<Result>();
        result->generation = generation;
        result->sample = known;
        result->summary = knownSummary;
        if (!known) {
            auto sample = std::make_shared<SkySample>();
            if (!DecodeSkySample(*doc, path, state->cancel, *sample)) {
                state->done = true;
                return;
            }
            result->summary = ToQString(FormatSkySampleSummary(*sample));
            if (summaryFunction && sample->problem.empty()) {
                const std::string summary = summaryFunction(*doc, path, state->cancel);
                if (!summary.empty())
                    result->summary = ToQString(summary);
            }
            result->sample = std::move(sample);
        }
        const std::vector<SkyObject>& objects = result->sample->objects;
        std::vector<std::int16_t> magnitudes;
        for (const SkyObject& o : objects) {
            const SkyPoint p = ProjectSky(o.ra, o.dec);
            result->chartX.push_back(static_cast<float>(p.x));
            result->chartY.push_back(static_cast<float>(p.y));
            magnitudes.push_back(o.magnitude);
        }

        // The chart is drawn at the widget's size; bright objects get the larger marks.
        const CSkyFrame frame(size.width(), size.height(), kSkyChartMargin);
        const MagnitudeRange range = ScaleMagnitudes(std::move(magnitudes));
        const MarkSizes sizes = ChartMarkSizes(frame.HalfWidth(), objects.size());
        std::vector<SkyMark> marks;
        marks.reserve(objects.size());
        for (std::size_t i = 0; i < objects.size(); ++i) {
            marks.push_back({{result->chartX[i], result->chartY[i]},
                             MarkRadius(objects[i].magnitude, range, sizes.smallest, sizes.largest),
                             ObjectTypeColour(objects[i].type),
                             sizes.opacity});
        }
        const SkyColour paperColour{static_cast<std::uint8_t>(paper.red()),
                                    static_cast<std::uint8_t>(paper.green()),
                                    static_cast<std::uint8_t>(paper.blue())};
        const int width = std::max(size.width(), 1);
        const int height = std::max(size.height(), 1);
        const std::vector<std::uint8_t> pixels = RenderSkyChart(
            width, height, std::move(marks), paperColour, kSkyChartMargin, &state->cancel);
        if (pixels.empty()) {
            state->done = true;
            return;
        }
        QImage image =
            QImage(pixels.data(), width, height, width * 3, QImage::Format_RGB888).copy();
        result->image = std::move(image);
        if (!state->cancel) {
            QMetaObject::invokeMethod(
                this, [this, result] { Finished(result); }, Qt::QueuedConnection);
        }
        state->done = true;
    });
    m_apJobs.push_back(std::move(job));
}

void CSkyMapWidget::Finished(const std::shared_ptr<Result>& result) {
    // Only the newest job's result is shown.
    if (result->generation != m_nGeneration)
        return;
    m_pSample = result->sample;
    m_afChartX = std::move(result->chartX);
    m_afChartY = std::move(result->chartY);
    m_image = std::move(result->image);
    m_strSummary = result->summary;
    m_bBusy = false;
    m_bDecodePending = false;
    ReapJobs(false);
    // The widget changed size while the job ran: draw again at the new size.
    if (m_image.size() != size() && !size().isEmpty())
        Start(m_pDoc, m_pSample);
    update();
    emit mapChanged();
}

int CSkyMapWidget::ObjectAt(QPointF at) const {
    if (!m_pSample)
        return -1;
    const CSkyFrame frame(width(), height(), kSkyChartMargin);
    int best = -1;
    double bestDistance = kPickRadius * kPickRadius;
    for (std::size_t i = 0; i < m_afChartX.size(); ++i) {
        const double dx = frame.PixelX({m_afChartX[i], 0}) - at.x();
        const double dy = frame.PixelY({0, m_afChartY[i]}) - at.y();
        const double d = dx * dx + dy * dy;
        if (d <= bestDistance) {
            bestDistance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void CSkyMapWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_image.isNull()) {
        painter.drawImage(rect(), m_image);
        // Hours of right ascension along the equator, growing to the left.
        const CSkyFrame frame(width(), height(), kSkyChartMargin);
        painter.setPen(QColor(150, 170, 210));
        for (int hour = 0; hour < 24; hour += 4) {
            const SkyPoint p = ProjectSky((hour == 12 ? 11.999 : hour) * M_PI / 12, 0);
            const QPointF at(frame.PixelX(p), frame.PixelY(p));
            const QString text = QString("%1h").arg(hour);
            const int w = painter.fontMetrics().horizontalAdvance(text);
            painter.drawText(at + QPointF(hour == 12 ? 4 : -w / 2.0, -4), text);
        }
    }
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect text = rect().adjusted(6, 4, -6, -4);
    if (!m_pSample) {
        painter.drawText(text, Qt::AlignCenter, m_bBusy ? tr("Drawing the sky map...") : QString());
        return;
    }
    if (!m_pSample->problem.empty()) {
        painter.drawText(text, Qt::AlignCenter | Qt::TextWordWrap,
                         tr("No sky map: %1").arg(ToQString(m_pSample->problem)));
    } else if (m_pSample->sampled) {
        painter.drawText(text, Qt::AlignLeft | Qt::AlignTop,
                         tr("Even sample of %1 of %2 records")
                             .arg(Count(m_pSample->decoded), Count(m_pSample->recordCount)));
    }
    if (m_bBusy)
        painter.drawText(text, Qt::AlignRight | Qt::AlignTop, tr("Updating..."));
    if (m_nSelected >= 0) {
        const CSkyFrame frame(width(), height(), kSkyChartMargin);
        for (std::size_t i = 0; i < m_pSample->objects.size(); ++i) {
            if (m_pSample->objects[i].record != m_nSelected)
                continue;
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(QPen(Qt::yellow, 1.5));
            painter.setBrush(Qt::NoBrush);
            const SkyPoint p{m_afChartX[i], m_afChartY[i]};
            painter.drawEllipse(QPointF(frame.PixelX(p), frame.PixelY(p)), 7, 7);
        }
    }
}

void CSkyMapWidget::resizeEvent(QResizeEvent*) {
    // While a new definition is decoded, its result is drawn at the size of the moment.
    if (m_pSample && m_pDoc && !m_bDecodePending)
        Start(m_pDoc, m_pSample);
}

void CSkyMapWidget::mouseMoveEvent(QMouseEvent* event) {
    const int i = ObjectAt(event->position());
    if (i < 0) {
        QToolTip::hideText();
        return;
    }
    const SkyObject& o = m_pSample->objects[static_cast<std::size_t>(i)];
    QString tip = ToQString(o.label.data());
    if (!tip.isEmpty())
        tip += "\n";
    tip += tr("RA %1  Dec %2").arg(RaText(o.ra), DecText(o.dec));
    tip += "\n" + (o.magnitude == catalog_object::kNoMagnitude
                       ? tr("No magnitude")
                       : tr("Magnitude %1").arg(QString::number(o.magnitude / 100.0, 'f', 2)));
    tip += "\n" + tr("Record %1").arg(o.record + 1);
    QToolTip::showText(event->globalPosition().toPoint(), tip, this);
}

void CSkyMapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const int i = ObjectAt(event->position());
    m_nSelected =
        i < 0 ? -1LL
              : static_cast<long long>(m_pSample->objects[static_cast<std::size_t>(i)].record);
    update();
    emit recordSelected(m_nSelected);
}

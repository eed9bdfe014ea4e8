#include "platform/qt/qt_common_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QBuffer>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QFontDialog>
#include <QFontInfo>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <utility>
#include <QStandardPaths>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

#include "platform/qt/qt_desktop.h"
#include "platform/qt/qt_file_saver.h"
#include "platform/base/wiped_memory.h"
#include "platform/qt/qt_save_dialog.h"
#include "platform/qt/qt_text.h"

namespace morvane {

// --- printer

namespace {

// Nothing printed comes nearer than 10 mm to the paper's edge; the margin
// takes a little more, since a glyph's box may reach past its pen position.
constexpr qreal kLeastMarginMm = 12;

constexpr int kErrPrinter = 482;
const QString kContinuationMark = QStringLiteral("\u21AA");  // a rightwards arrow with a hook
const QString kContinuationIndent = kContinuationMark + "   ";

// Why the list could not be printed to `path`.
RuntimeError PrintFileError(const QString& path, const std::string& reason) {
    return RuntimeError(kErrFileIo, "The list could not be printed to " + path.toStdString() + ": " + reason);
}

}  // namespace

QtPrinter::QtPrinter() {
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(DocumentsFolder() + "/Passwords.pdf");
    }
    // Passwords print as they are: no ligature or other shaping joins
    // their characters.
    font_.setStyleStrategy(QFont::PreferNoShaping);
}

QtPrinter::~QtPrinter() {
    if (painter_ && painter_->isActive()) painter_->end();
    pdf_writer_.reset();
    if (pdf_bytes_) pdf_bytes_->buffer().fill('\0');  // a document never saved
}

QRectF QtPrinter::Area() const {
    return QRectF(QPointF(0, 0), page_->pageLayout().paintRectPixels(resolution_).size());
}

void QtPrinter::Begin() {
    if (painter_ && painter_->isActive()) {
        if (page_pending_) {
            if (!page_->newPage()) throw RuntimeError(kErrPrinter, "Printer error");
            page_pending_ = false;
            x_ = y_ = inked_ = 0;
        }
        return;
    }
    // Inside the printable area, and away from every edge of the paper.
    QMarginsF margins = printer_.pageLayout().margins(QPageLayout::Millimeter);
    margins = QMarginsF(std::max(margins.left(), kLeastMarginMm), std::max(margins.top(), kLeastMarginMm),
                        std::max(margins.right(), kLeastMarginMm), std::max(margins.bottom(), kLeastMarginMm));
    printer_.setFullPage(false);
    printer_.setPageMargins(margins, QPageLayout::Millimeter);
    page_ = &printer_;
    resolution_ = printer_.resolution();
    if (printer_.outputFormat() == QPrinter::PdfFormat && !printer_.outputFileName().isEmpty()) {
        // Into memory first, then saved as a list is: the old file stays
        // as it was until the new one is complete, and a failed write is
        // told instead of leaving a truncated file.
        pdf_target_ = printer_.outputFileName();
        // Unlike a saved list, a link is not followed, and is refused as
        // the saver refuses a pipe or a device in its place.
        if (QFileInfo(pdf_target_).isSymLink()) throw PrintFileError(pdf_target_, kNotARegularFile);
        pdf_bytes_ = std::make_unique<QBuffer>();
        pdf_bytes_->open(QIODevice::WriteOnly);
        pdf_writer_ = std::make_unique<QPdfWriter>(pdf_bytes_.get());
        pdf_writer_->setResolution(resolution_);
        pdf_writer_->setPageLayout(printer_.pageLayout());
        pdf_writer_->setTitle(printer_.docName());
        pdf_writer_->setCreator(printer_.creator());
        page_ = pdf_writer_.get();
    }
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(page_)) {
        painter_.reset();
        pdf_writer_.reset();
        pdf_bytes_.reset();
        throw RuntimeError(kErrPrinter, "Printer error");
    }
    painter_->setFont(font_);
    page_pending_ = false;
    x_ = y_ = inked_ = 0;
}

void QtPrinter::SetFace(PrintFace face) {
    font_.setFamily(face == PrintFace::kList ? ListFont().family() : QFont().family());
    if (painter_ && painter_->isActive()) painter_->setFont(font_);
}

void QtPrinter::SetFont(double points, bool bold) {
    font_.setPointSizeF(points);
    font_.setBold(bold);
    if (painter_ && painter_->isActive()) painter_->setFont(font_);
}

void QtPrinter::Print(const Text& text) {
    Begin();
    QFontMetricsF metrics(font_, page_);
    const QRectF area = Area();
    QString rest = ToQt(text);
    // Moved past the right margin by print zones (the heading's date): the
    // text ends at the margin instead, when it clears what the line holds,
    // or else starts the next line.
    if (const qreal whole = metrics.horizontalAdvance(rest);
        x_ > inked_ && x_ + whole > area.width() && whole <= area.width()) {
        if (area.width() - whole >= inked_ + metrics.averageCharWidth()) x_ = area.width() - whole;
        else EndLine();
    }
    bool continued = false;
    while (!rest.isEmpty()) {
        // A line that does not fit below the last one carries on on the
        // next page. The break is taken only when there is something to
        // print, so a list that fills its page exactly leaves no blank page.
        if (y_ > 0 && y_ + metrics.lineSpacing() > area.height()) {
            if (!page_->newPage()) throw RuntimeError(kErrPrinter, "Printer error");
            y_ = 0;
        }
        // The rest of a text too long for its line goes on under a mark and
        // an indent, so that it never reads as a text of its own.
        if (std::exchange(continued, false)) {
            painter_->drawText(QPointF(0, y_ + metrics.ascent()), kContinuationMark);
            x_ = inked_ = metrics.horizontalAdvance(kContinuationIndent);
        }
        // As much as fits before the right margin; the rest goes on on the
        // next line, so no character is cut off at the paper's edge.
        qsizetype fits = rest.size();
        while (fits > 1 && x_ + metrics.horizontalAdvance(rest.left(fits)) > area.width()) {
            fits -= std::max<qsizetype>(1, (fits - 1) / 8);
            if (fits < rest.size() && rest.at(fits).isLowSurrogate()) --fits;
        }
        if (x_ > 0 && x_ + metrics.horizontalAdvance(rest.left(fits)) > area.width()) {
            EndLine();
            continue;
        }
        const QString piece = rest.left(fits);
        painter_->drawText(QPointF(x_, y_ + metrics.ascent()), piece);
        x_ += metrics.horizontalAdvance(piece);
        inked_ = x_;
        rest.remove(0, fits);
        if (!rest.isEmpty()) {
            EndLine();
            continued = true;
        }
    }
}

void QtPrinter::NextZone() {
    Begin();
    QFontMetricsF metrics(font_, page_);
    double zone = 14 * metrics.averageCharWidth();
    x_ = (std::floor(x_ / zone) + 1) * zone;
}

void QtPrinter::EndLine() {
    Begin();
    QFontMetricsF metrics(font_, page_);
    x_ = inked_ = 0;
    y_ += metrics.lineSpacing();
}

void QtPrinter::NewPage() { page_pending_ = true; }  // taken when more output follows

void QtPrinter::EndDoc() {
    if (!painter_ || !painter_->isActive()) Begin();  // an empty job still makes its page
    painter_->end();
    painter_.reset();
    page_pending_ = false;
    page_ = &printer_;
    if (pdf_writer_) SavePdf();
}

void QtPrinter::SavePdf() {
    pdf_writer_.reset();  // writes the document's tail
    QByteArray& pdf = pdf_bytes_->buffer();
    std::string bytes(pdf.constData(), static_cast<size_t>(pdf.size()));
    pdf.fill('\0');
    pdf_bytes_.reset();
    const std::string failure = QtFileSaver().Save(pdf_target_.toStdString(), bytes);
    Wipe(bytes);
    if (!failure.empty()) throw PrintFileError(pdf_target_, failure);
}

// --- dialogs

SaveAnswer QtCommonDialog::ShowSave(const SaveRequest& request) {
    QStringList parts = QString::fromStdString(request.filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    SaveFileDialog dialog(owner_, QString::fromStdString(request.title));
    dialog.setNameFilters(filters);
    if (request.filter_index >= 1 && request.filter_index <= filters.size())
        dialog.selectNameFilter(filters[request.filter_index - 1]);
    if (!request.initial_dir.empty()) dialog.setDirectory(QString::fromStdString(request.initial_dir));
    dialog.selectFile(QString::fromStdString(request.file_name));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.flags & kOverwritePrompt));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) throw CancelError();
    SaveAnswer answer;
    answer.file_name = dialog.selectedFiles().first().toStdString();
    answer.filter_index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return answer;
}

int QtCommonDialog::ShowPrinter() {
    QPrintDialog dialog(&printer_->device(), owner_);
    if (dialog.exec() != QDialog::Accepted) throw CancelError();
    int copies = printer_->device().copyCount();
    printer_->device().setCopyCount(1);  // the copies are printed one run each
    return copies < 1 ? 1 : copies;
}

namespace {

struct NamedColor {
    const char* name;
    Rgb rgb;
};

// The colours a font dialog offers with its effects.
constexpr NamedColor kFontColors[] = {
    {"Black", {0, 0, 0}},         {"Maroon", {128, 0, 0}},     {"Green", {0, 128, 0}},
    {"Olive", {128, 128, 0}},     {"Navy", {0, 0, 128}},       {"Purple", {128, 0, 128}},
    {"Teal", {0, 128, 128}},      {"Gray", {128, 128, 128}},   {"Silver", {192, 192, 192}},
    {"Red", {255, 0, 0}},         {"Lime", {0, 255, 0}},       {"Yellow", {255, 255, 0}},
    {"Blue", {0, 0, 255}},        {"Fuchsia", {255, 0, 255}},  {"Aqua", {0, 255, 255}},
    {"White", {255, 255, 255}},
};

// Adds a colour list under the strike-through and underline boxes.
QComboBox* AddColorChoice(QFontDialog& dialog, Rgb initial) {
    QGroupBox* effects = nullptr;
    for (auto* box : dialog.findChildren<QGroupBox*>())
        if (box->findChild<QCheckBox*>()) effects = box;
    auto* colors = new QComboBox(effects ? static_cast<QWidget*>(effects) : &dialog);
    colors->setObjectName("colorCombo");
    for (const NamedColor& c : kFontColors) {
        QPixmap swatch(12, 12);
        swatch.fill(QColor(c.rgb.r, c.rgb.g, c.rgb.b));
        colors->addItem(QIcon(swatch), c.name, QColor(c.rgb.r, c.rgb.g, c.rgb.b));
    }
    QColor wanted(initial.r, initial.g, initial.b);
    int index = colors->findData(wanted);
    if (index < 0) {
        QPixmap swatch(12, 12);
        swatch.fill(wanted);
        colors->addItem(QIcon(swatch), "Custom", wanted);
        index = colors->count() - 1;
    }
    colors->setCurrentIndex(index);
    auto* label = new QLabel("C&olor:", colors->parentWidget());
    label->setBuddy(colors);
    if (effects && effects->layout()) {
        effects->layout()->addWidget(label);
        effects->layout()->addWidget(colors);
    } else if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
        int row = grid->rowCount();
        grid->addWidget(label, row, 0);
        grid->addWidget(colors, row + 1, 0);
    }
    return colors;
}

}  // namespace

FontSpec QtCommonDialog::ShowFont(const FontSpec& initial) {
    // Given the style the face really has, the dialog shows it instead of
    // falling on another style of the family (an oblique) for want of a
    // match; confirmed without a change, it gives back what it was shown.
    QFont shown = ToQFont(initial);
    shown.setStyleName(QFontInfo(shown).styleName());
    QFontDialog dialog(shown, owner_);
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    dialog.setWindowTitle("Font");
    QComboBox* colors = AddColorChoice(dialog, initial.color);
    const QFont opened = dialog.currentFont();
    const int opened_color = colors->currentIndex();
    if (dialog.exec() != QDialog::Accepted) throw CancelError();
    if (dialog.selectedFont() == opened && colors->currentIndex() == opened_color) return initial;
    FontSpec chosen = FromQFont(dialog.selectedFont());
    QColor c = colors->currentData().value<QColor>();
    chosen.color = {c.red(), c.green(), c.blue()};
    return chosen;
}

}  // namespace morvane

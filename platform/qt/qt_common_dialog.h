#pragma once
// The save, print and font dialogs and the printer, on Qt.
#include <QBuffer>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QWidget>
#include <memory>

#include "platform/contracts/common_dialog.h"

namespace morvane {

// Prints through QPrinter; with no printer installed the job becomes a PDF file.
class QtPrinter : public Printer {
public:
    QtPrinter();
    ~QtPrinter() override;
    QPrinter& device() { return printer_; }
    void SetFace(PrintFace face) override;
    void SetFont(double points, bool bold) override;
    void Print(const Text& text) override;
    void NextZone() override;
    void EndLine() override;
    void NewPage() override;
    void EndDoc() override;

private:
    void Begin();
    void SavePdf();
    QRectF Area() const;  // where the page is printed on, in device pixels
    QPrinter printer_{QPrinter::HighResolution};
    // What is painted on: the printer, or for a PDF file a writer into
    // memory whose bytes are saved at the end.
    QPagedPaintDevice* page_ = &printer_;
    int resolution_ = 0;
    std::unique_ptr<QBuffer> pdf_bytes_;
    std::unique_ptr<QPdfWriter> pdf_writer_;
    QString pdf_target_;
    std::unique_ptr<QPainter> painter_;
    QFont font_;
    double x_ = 0, y_ = 0;
    double inked_ = 0;  // where the line's printed text ends
    bool page_pending_ = false;
};

class QtCommonDialog : public CommonDialog {
public:
    QtCommonDialog(QWidget* owner, QtPrinter* printer) : owner_(owner), printer_(printer) {}
    SaveAnswer ShowSave(const SaveRequest& request) override;
    int ShowPrinter() override;
    FontSpec ShowFont(const FontSpec& initial) override;

private:
    QWidget* owner_;
    QtPrinter* printer_;
};

}  // namespace morvane

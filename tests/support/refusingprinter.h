#pragma once

#include <QPaintEngine>
#include <QPrinter>

namespace qm::test {

/// A printer to a PDF file that fails as a real printer can: it refuses page \a refusedPage
/// when asked to open it, and page 1 means that it refuses to start the job at all.
class RefusingPrinter : public QPrinter
{
public:
    RefusingPrinter(const QString &pdf, int refusedPage)
        : QPrinter(QPrinter::HighResolution)
        , m_refusedPage(refusedPage)
    {
        setOutputFormat(QPrinter::PdfFormat);
        setOutputFileName(pdf);
    }

    bool newPage() override { return ++m_page == m_refusedPage ? false : QPrinter::newPage(); }
    QPaintEngine *paintEngine() const override
    {
        return m_refusedPage == 1 ? &m_refusing : QPrinter::paintEngine();
    }

private:
    class RefusingEngine final : public QPaintEngine
    {
    public:
        bool begin(QPaintDevice *) override { return false; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override { }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        Type type() const override { return User; }
    };

    int m_refusedPage;
    int m_page = 1;
    mutable RefusingEngine m_refusing;
};

} // namespace qm::test

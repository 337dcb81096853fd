// An SVG drawing written by the program itself, shape by shape, so that a chart saved as
// SVG is the same file on every system, whatever Qt modules the system has. Its units are
// the window's pixels; its texts are UTF-8 in the font they are measured with.
#pragma once

#include "ui/widgets/VectorSink.h"

#include <QFont>
#include <QSize>
#include <QString>

#include <string>

class QImage;

class SvgWriter : public VectorSink {
public:
    // A drawing `size` pixels large; the title and description are left out when empty.
    // Texts are in the application's font until SetFont chooses another.
    SvgWriter(QSize size, const QString& title = {}, const QString& description = {});

    // The font of the texts written from here on, measured as the screen measures it.
    void SetFont(const QFont& font);

    void Line(QPointF from, QPointF to, const VectorStroke& stroke) override;
    void Rect(const QRectF& box, const VectorStroke& outline, Rgb fill) override;
    void Ellipse(const QRectF& box, const VectorStroke& outline, Rgb fill) override;
    void Fill(const QRectF& box, Rgb colour) override;
    TextExtent Measure(const QString& text) const override;
    void Text(QPointF baseline, const QString& text, Rgb colour) override;

    // A picture stretched over the box, kept in the drawing as PNG.
    void Image(const QRectF& box, const QImage& picture);

    // The whole document so far, as UTF-8.
    std::string Document() const;

private:
    QSize size_;
    QString title_;
    QString description_;
    QFont font_;
    // The attributes every text in font_ carries.
    std::string fontAttributes_;
    std::string body_;
};

// Appends a coordinate as SVG writes numbers, whatever the locale: at most three decimals,
// no trailing zeros, no exponent.
void AppendSvgNumber(std::string& out, double value);
// Appends the text as UTF-8 with the characters that XML reserves escaped, fit for an
// element or an attribute; characters XML does not allow at all are left out.
void AppendXmlEscaped(std::string& out, const QString& text);

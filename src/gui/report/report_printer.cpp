#include "gui/report/report_printer.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <vector>

#include "gui/widgets/design.h"

namespace limenta {

namespace {

constexpr double kColumnWidth = 540.0;  // points, 7.5 inches
constexpr double kBlockHeight = 720.0;  // points, 10 inches

struct Block {
    double top = 0;
    double bottom = 0;
};

// Splits the laid-out text into blocks of whole lines, each at most kBlockHeight high.
std::vector<Block> blocksOf(const QTextDocument& document) {
    std::vector<Block> blocks;
    Block current;
    bool empty = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const double blockTop = document.documentLayout()->blockBoundingRect(block).top();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            const double top = blockTop + line.y();
            const double bottom = top + line.height();
            if (!empty && bottom - current.top > kBlockHeight) {
                blocks.push_back(current);
                empty = true;
            }
            if (empty) {
                current.top = top;
                empty = false;
            }
            current.bottom = bottom;
        }
    }
    if (!empty || blocks.empty()) {
        blocks.push_back(current);
    }
    return blocks;
}

}  // namespace

int printReport(const QString& crText, QPagedPaintDevice& printer) {
    QString text = crText;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) {
        text.chop(1);  // the last line's end is no further line
    }

    QTextDocument document;
    // 12 units of the point-scaled painter below: 12 points.
    document.setDefaultFont(designFont(Face::Courier, 12));
    QTextOption wrapping = document.defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(wrapping);
    document.setDocumentMargin(0);
    document.setPlainText(text);
    document.setTextWidth(kColumnWidth);

    QPainter painter(&printer);
    const double pointScale = printer.logicalDpiX() / 72.0;
    const std::vector<Block> blocks = blocksOf(document);
    for (std::size_t page = 0; page < blocks.size(); ++page) {
        if (page > 0) {
            printer.newPage();
        }
        const Block& block = blocks[page];
        painter.save();
        painter.scale(pointScale, pointScale);
        painter.translate(0, -block.top);
        const QRectF shown(0, block.top, kColumnWidth, block.bottom - block.top);
        painter.setClipRect(shown);
        document.drawContents(&painter, shown);
        painter.restore();
    }
    return static_cast<int>(blocks.size());
}

}  // namespace limenta

#include "ui/components/SymbolIcon.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>

namespace kivo {
namespace {

QColor colourFor(QIcon::Mode mode) {
    const QPalette palette = QGuiApplication::palette();
    switch (mode) {
    case QIcon::Disabled:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case QIcon::Selected:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case QIcon::Normal:
    case QIcon::Active:
        break;
    }
    return palette.color(QPalette::Active, QPalette::Text);
}

// Tints the shape each time it is drawn, so the colour is the palette's of that moment.
class SymbolIconEngine : public QIconEngine {
public:
    explicit SymbolIconEngine(const QString& resource) : resource_(resource), shape_(resource) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal scale = painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size(), mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap pixmap = shape_.pixmap(size, scale, QIcon::Normal, state);
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(QRect(QPoint(0, 0), pixmap.size()), colourFor(mode));
        return pixmap;
    }

    QIconEngine* clone() const override { return new SymbolIconEngine(resource_); }

private:
    QString resource_;
    QIcon shape_;
};

} // namespace

QIcon symbolIcon(const QString& resource) {
    return QIcon(new SymbolIconEngine(resource));
}

} // namespace kivo

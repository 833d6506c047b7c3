#include "app/icons.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tw {
namespace {

// Glyphs are drawn on a 24 x 24 grid.
void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c) { p.drawPolygon(QPolygonF({a, b, c})); }

void DrawGlyph(QPainter& p, IconId id, const QColor& ink) {
  QPen line(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(Qt::NoPen);
  p.setBrush(ink);
  switch (id) {
    case IconId::kMenu:
      for (int y : {6, 12, 18}) p.drawRoundedRect(QRectF(3, y - 1.5, 18, 3), 1.5, 1.5);
      break;
    case IconId::kPrevious:
      p.drawRect(QRectF(4, 5, 3, 14));
      Triangle(p, {20, 5}, {20, 19}, {8, 12});
      break;
    case IconId::kPlay:
      Triangle(p, {6, 4}, {6, 20}, {20, 12});
      break;
    case IconId::kPause:
      p.drawRect(QRectF(6, 5, 4, 14));
      p.drawRect(QRectF(14, 5, 4, 14));
      break;
    case IconId::kStop:
      p.drawRect(QRectF(5, 5, 14, 14));
      break;
    case IconId::kNext:
      Triangle(p, {4, 5}, {4, 19}, {16, 12});
      p.drawRect(QRectF(17, 5, 3, 14));
      break;
    case IconId::kDynamicsOn:
    case IconId::kDynamicsOff: {
      // Level bars; the "off" variant crosses them out.
      const double heights[] = {6, 12, 16, 10, 14};
      for (int i = 0; i < 5; ++i) {
        p.drawRect(QRectF(3 + i * 4, 20 - heights[i], 2.5, heights[i]));
      }
      if (id == IconId::kDynamicsOff) {
        p.setPen(line);
        p.drawLine(QPointF(3, 21), QPointF(21, 3));
      }
      break;
    }
    case IconId::kVolume: {
      QPainterPath speaker;
      speaker.addPolygon(QPolygonF({{3, 9}, {8, 9}, {13, 4}, {13, 20}, {8, 15}, {3, 15}}));
      p.drawPath(speaker);
      p.setPen(line);
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(11, 7, 8, 10), -60 * 16, 120 * 16);
      p.drawArc(QRectF(10, 3, 12, 18), -60 * 16, 120 * 16);
      break;
    }
    case IconId::kFolder:
    case IconId::kLoad: {
      QPainterPath folder;
      folder.addPolygon(QPolygonF({{2, 6}, {9, 6}, {11, 8}, {22, 8}, {22, 20}, {2, 20}}));
      p.drawPath(folder);
      break;
    }
    case IconId::kSave:
      p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
      p.setBrush(Qt::NoBrush);
      p.setPen(QPen(Qt::transparent));
      p.setCompositionMode(QPainter::CompositionMode_Clear);
      p.setBrush(Qt::black);
      p.drawRect(QRectF(7, 5, 10, 5));
      p.drawRect(QRectF(7, 14, 10, 5));
      p.setCompositionMode(QPainter::CompositionMode_SourceOver);
      break;
    case IconId::kExport:
      p.drawRect(QRectF(4, 16, 16, 4));
      Triangle(p, {6, 10}, {18, 10}, {12, 3});
      p.drawRect(QRectF(10, 9, 4, 6));
      break;
    case IconId::kRandom:
      p.setPen(line);
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(3, 7), QPointF(19, 17));
      p.drawLine(QPointF(3, 17), QPointF(19, 7));
      p.setPen(Qt::NoPen);
      p.setBrush(ink);
      Triangle(p, {17, 4}, {22, 7}, {17, 10});
      Triangle(p, {17, 14}, {22, 17}, {17, 20});
      break;
    case IconId::kCustom:
      for (int y : {5, 11, 17}) {
        p.drawEllipse(QRectF(3, y, 3, 3));
        p.drawRect(QRectF(8, y + 0.5, 13, 2));
      }
      break;
    case IconId::kLibrary:
      p.drawEllipse(QRectF(3, 13, 8, 7));
      p.drawEllipse(QRectF(13, 11, 8, 7));
      p.drawRect(QRectF(9, 4, 2, 12));
      p.drawRect(QRectF(19, 2, 2, 12));
      p.drawPolygon(QPolygonF({{9, 4}, {21, 2}, {21, 5}, {9, 7}}));
      break;
    case IconId::kDatabase:
      for (int y : {4, 10, 16}) p.drawEllipse(QRectF(4, y, 16, 5));
      p.drawRect(QRectF(4, 6.5, 16, 12));
      break;
    case IconId::kPreferences: {
      QPainterPath gear;
      gear.setFillRule(Qt::OddEvenFill);
      for (int i = 0; i < 8; ++i) {
        QPainterPath tooth;
        tooth.addRect(QRectF(-1.8, -10, 3.6, 5));
        gear.addPath(QTransform().translate(12, 12).rotate(i * 45).map(tooth));
      }
      QPainterPath ring;
      ring.addEllipse(QPointF(12, 12), 6.5, 6.5);
      gear = gear.united(ring);
      QPainterPath hole;
      hole.addEllipse(QPointF(12, 12), 2.5, 2.5);
      p.drawPath(gear.subtracted(hole));
      break;
    }
    case IconId::kHelp:
    case IconId::kAbout:
    case IconId::kInfo: {
      QPainterPath disc;
      disc.addEllipse(QPointF(12, 12), 10, 10);
      QPainterPath mark;
      if (id == IconId::kHelp) {
        QPainterPath hook;
        hook.moveTo(8.5, 9.5);
        hook.cubicTo(8.5, 5, 15.5, 5, 15.5, 9.5);
        hook.cubicTo(15.5, 12, 12, 12, 12, 14.5);
        QPainterPathStroker stroker;
        stroker.setWidth(2.4);
        stroker.setCapStyle(Qt::RoundCap);
        mark = stroker.createStroke(hook);
        mark.addEllipse(QPointF(12, 18), 1.4, 1.4);
      } else {
        mark.addEllipse(QPointF(12, 7), 1.6, 1.6);
        mark.addRoundedRect(QRectF(10.7, 10, 2.6, 9), 1, 1);
      }
      p.drawPath(disc.subtracted(mark));
      break;
    }
    case IconId::kExit:
      p.setPen(line);
      p.setBrush(Qt::NoBrush);
      p.drawLine(QPointF(6, 6), QPointF(18, 18));
      p.drawLine(QPointF(18, 6), QPointF(6, 18));
      break;
  }
}

}  // namespace

QPixmap IconPixmap(IconId id, bool dark_background, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 24.0, size / 24.0);
  DrawGlyph(p, id, dark_background ? QColor(0xEE, 0xEE, 0xEE) : QColor(0x30, 0x30, 0x30));
  return pixmap;
}

QIcon MakeIcon(IconId id, bool dark_background) {
  QIcon icon;
  for (int size : {16, 24, 32, 50}) icon.addPixmap(IconPixmap(id, dark_background, size));
  return icon;
}

}  // namespace tw

#include "app/flag_images.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace tw {
namespace {

constexpr int kSize = 40;

QPainterPath Star(QPointF centre, double outer, double inner, double rotate_deg = -90) {
  QPolygonF points;
  for (int i = 0; i < 10; ++i) {
    const double r = (i % 2 == 0) ? outer : inner;
    const double a = (rotate_deg + i * 36) * M_PI / 180.0;
    points << QPointF(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
  }
  QPainterPath path;
  path.addPolygon(points);
  path.closeSubpath();
  return path;
}

// Three equal stripes, vertical or horizontal.
void Tricolour(QPainter& p, const QRectF& r, QColor a, QColor b, QColor c, bool vertical) {
  const QColor colours[] = {a, b, c};
  for (int i = 0; i < 3; ++i) {
    QRectF stripe = vertical ? QRectF(r.x() + i * r.width() / 3, r.y(), r.width() / 3, r.height())
                             : QRectF(r.x(), r.y() + i * r.height() / 3, r.width(), r.height() / 3);
    p.fillRect(stripe.adjusted(0, 0, 0.5, 0.5), colours[i]);
  }
}

// A Nordic cross: the upright stands off centre towards the hoist.
void NordicCross(QPainter& p, const QRectF& r, QColor field, QColor cross, QColor inner = {}) {
  p.fillRect(r, field);
  const double u = r.height() / 7;
  p.fillRect(QRectF(r.x(), r.y() + 3 * u - u * 0.4, r.width(), u * 1.8), cross);
  p.fillRect(QRectF(r.x() + r.width() * 0.3, r.y(), u * 1.8, r.height()), cross);
  if (inner.isValid()) {
    p.fillRect(QRectF(r.x(), r.y() + 3 * u, r.width(), u), inner);
    p.fillRect(QRectF(r.x() + r.width() * 0.3 + u * 0.4, r.y(), u, r.height()), inner);
  }
}

void UnionJack(QPainter& p, const QRectF& r) {
  const QColor blue(0x01, 0x21, 0x69), red(0xC8, 0x10, 0x2E);
  p.fillRect(r, blue);
  p.save();
  p.setClipRect(r);
  const double t = r.height() / 5;
  p.setPen(QPen(Qt::white, t));
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.topRight());
  p.setPen(QPen(red, t / 3));
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.bottomLeft(), r.topRight());
  p.setPen(Qt::NoPen);
  p.fillRect(QRectF(r.x(), r.center().y() - t * 0.85, r.width(), t * 1.7), Qt::white);
  p.fillRect(QRectF(r.center().x() - t * 0.85, r.y(), t * 1.7, r.height()), Qt::white);
  p.fillRect(QRectF(r.x(), r.center().y() - t / 2, r.width(), t), red);
  p.fillRect(QRectF(r.center().x() - t / 2, r.y(), t, r.height()), red);
  p.restore();
}

void Draw(QPainter& p, CountryFlag flag, const QRectF& r) {
  using F = CountryFlag;
  const QColor red(0xD5, 0x2B, 0x1E), white(Qt::white), blue(0x00, 0x33, 0x99);
  switch (flag) {
    case F::kNone:
      break;
    case F::kAustralia: {
      p.fillRect(r, QColor(0x01, 0x21, 0x69));
      UnionJack(p, QRectF(r.x(), r.y(), r.width() / 2, r.height() / 2));
      p.setBrush(white);
      p.drawPath(Star({r.x() + r.width() * 0.25, r.y() + r.height() * 0.75}, 3.5, 1.5));
      for (QPointF s :
           {QPointF(0.75, 0.25), QPointF(0.62, 0.5), QPointF(0.88, 0.45), QPointF(0.75, 0.8)}) {
        p.drawPath(Star({r.x() + r.width() * s.x(), r.y() + r.height() * s.y()}, 2, 0.9));
      }
      break;
    }
    case F::kAustria:
      Tricolour(p, r, QColor(0xED, 0x29, 0x39), white, QColor(0xED, 0x29, 0x39), false);
      break;
    case F::kBelgium:
      Tricolour(p, r, Qt::black, QColor(0xFD, 0xDA, 0x24), QColor(0xEF, 0x33, 0x40), true);
      break;
    case F::kChina: {
      p.fillRect(r, QColor(0xEE, 0x1C, 0x25));
      p.setBrush(QColor(0xFF, 0xFF, 0x00));
      p.drawPath(Star({r.x() + r.width() * 0.17, r.y() + r.height() * 0.27}, 4.5, 1.8));
      for (QPointF s :
           {QPointF(0.33, 0.1), QPointF(0.4, 0.2), QPointF(0.4, 0.35), QPointF(0.33, 0.45)}) {
        p.drawPath(Star({r.x() + r.width() * s.x(), r.y() + r.height() * s.y()}, 1.5, 0.6));
      }
      break;
    }
    case F::kCroatia: {
      Tricolour(p, r, QColor(0xFF, 0x00, 0x00), white, QColor(0x17, 0x17, 0x96), false);
      const double cell = r.height() / 10;
      const QPointF o(r.center().x() - 2.5 * cell, r.y() + r.height() * 0.25);
      for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 5; ++col) {
          p.fillRect(QRectF(o.x() + col * cell, o.y() + row * cell, cell, cell),
                     (row + col) % 2 == 0 ? QColor(0xFF, 0, 0) : white);
        }
      }
      break;
    }
    case F::kDenmark:
      NordicCross(p, r, QColor(0xC8, 0x10, 0x2E), white);
      break;
    case F::kFinland:
      NordicCross(p, r, white, QColor(0x00, 0x2F, 0x6C));
      break;
    case F::kSweden:
      NordicCross(p, r, QColor(0x00, 0x6A, 0xA7), QColor(0xFE, 0xCC, 0x00));
      break;
    case F::kEurope: {
      p.fillRect(r, blue);
      p.setBrush(QColor(0xFF, 0xCC, 0x00));
      for (int i = 0; i < 12; ++i) {
        const double a = i * 30 * M_PI / 180.0;
        const QPointF c(r.center().x() + r.height() / 3 * std::sin(a),
                        r.center().y() - r.height() / 3 * std::cos(a));
        p.drawPath(Star(c, 1.6, 0.7));
      }
      break;
    }
    case F::kFrance:
      Tricolour(p, r, QColor(0x00, 0x23, 0x95), white, QColor(0xED, 0x29, 0x39), true);
      break;
    case F::kGermany:
      Tricolour(p, r, Qt::black, QColor(0xDD, 0x00, 0x00), QColor(0xFF, 0xCE, 0x00), false);
      break;
    case F::kUnitedKingdom:
      UnionJack(p, r);
      break;
    case F::kGreece: {
      const QColor g(0x0D, 0x5E, 0xAF);
      for (int i = 0; i < 9; ++i) {
        p.fillRect(QRectF(r.x(), r.y() + i * r.height() / 9, r.width(), r.height() / 9 + 0.5),
                   i % 2 == 0 ? g : white);
      }
      const double c = r.height() * 5 / 9;
      p.fillRect(QRectF(r.x(), r.y(), c, c), g);
      p.fillRect(QRectF(r.x(), r.y() + c * 0.4, c, c * 0.2), white);
      p.fillRect(QRectF(r.x() + c * 0.4, r.y(), c * 0.2, c), white);
      break;
    }
    case F::kHongKong: {
      p.fillRect(r, QColor(0xDE, 0x29, 0x10));
      p.setBrush(white);
      for (int i = 0; i < 5; ++i) {
        p.save();
        p.translate(r.center());
        p.rotate(i * 72);
        p.drawEllipse(QRectF(-1.8, -8, 3.6, 7));
        p.restore();
      }
      break;
    }
    case F::kItaly:
      Tricolour(p, r, QColor(0x00, 0x92, 0x46), white, QColor(0xCE, 0x2B, 0x37), true);
      break;
    case F::kJapan:
      p.fillRect(r, white);
      p.setBrush(QColor(0xBC, 0x00, 0x2D));
      p.drawEllipse(r.center(), r.height() * 0.3, r.height() * 0.3);
      break;
    case F::kMexico:
      Tricolour(p, r, QColor(0x00, 0x68, 0x47), white, QColor(0xCE, 0x11, 0x26), true);
      p.setBrush(QColor(0x8C, 0x5A, 0x2B));
      p.drawEllipse(r.center(), r.height() * 0.14, r.height() * 0.14);
      break;
    case F::kPoland:
      p.fillRect(QRectF(r.x(), r.y(), r.width(), r.height() / 2), white);
      p.fillRect(QRectF(r.x(), r.center().y(), r.width(), r.height() / 2),
                 QColor(0xDC, 0x14, 0x3C));
      break;
    case F::kSpain:
      p.fillRect(r, QColor(0xAA, 0x15, 0x1B));
      p.fillRect(QRectF(r.x(), r.y() + r.height() / 4, r.width(), r.height() / 2),
                 QColor(0xF1, 0xBF, 0x00));
      break;
    case F::kSwitzerland: {
      p.fillRect(r, QColor(0xDA, 0x29, 0x1C));
      const double s = r.height();
      p.fillRect(QRectF(r.center().x() - s * 0.1, r.center().y() - s * 0.32, s * 0.2, s * 0.64),
                 white);
      p.fillRect(QRectF(r.center().x() - s * 0.32, r.center().y() - s * 0.1, s * 0.64, s * 0.2),
                 white);
      break;
    }
    case F::kUnitedStates: {
      const QColor stripe_red(0xB2, 0x22, 0x34);
      for (int i = 0; i < 13; ++i) {
        p.fillRect(QRectF(r.x(), r.y() + i * r.height() / 13, r.width(), r.height() / 13 + 0.5),
                   i % 2 == 0 ? stripe_red : white);
      }
      const QRectF canton(r.x(), r.y(), r.width() * 0.4, r.height() * 7 / 13);
      p.fillRect(canton, QColor(0x3C, 0x3B, 0x6E));
      p.setBrush(white);
      for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 5; ++col) {
          p.drawEllipse(QPointF(canton.x() + (col + 0.5) * canton.width() / 5,
                                canton.y() + (row + 0.5) * canton.height() / 4),
                        0.6, 0.6);
        }
      }
      break;
    }
    case F::kNetherlands:
      Tricolour(p, r, QColor(0xAE, 0x1C, 0x28), white, QColor(0x21, 0x46, 0x8B), false);
      break;
  }
}

}  // namespace

QPixmap FlagImage(CountryFlag flag) {
  if (flag == CountryFlag::kNone) return {};
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  const bool square = flag == CountryFlag::kSwitzerland;
  const QRectF area = square ? QRectF(4, 4, 32, 32) : QRectF(0, 7, 40, 26);
  p.setClipRect(area);
  Draw(p, flag, area);
  p.setClipping(false);
  p.setPen(QPen(QColor(0, 0, 0, 60), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(area.adjusted(0.5, 0.5, -0.5, -0.5));
  return pixmap;
}

}  // namespace tw

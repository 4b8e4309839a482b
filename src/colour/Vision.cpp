#include "colour/Vision.h"

#include "colour/Srgb.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

using Vector = std::array<double, 3>;
using Matrix = std::array<Vector, 3>;

constexpr Matrix Identity{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};

// Cone responses of linear sRGB: Smith & Pokorny (1975) through Judd-Vos XYZ, with the
// monitor primaries of Viénot, Brettel & Mollon (1999).
constexpr Matrix ConesFromRgb{{{0.1788240413, 0.4351609057, 0.0411934969},
                               {0.0345564232, 0.2715538246, 0.0386713084},
                               {0.0002995656, 0.0018430896, 0.0146708614}}};
// The same cones from Judd-Vos XYZ, for the monochromatic stimuli that anchor tritanopia.
constexpr Matrix ConesFromXyz{
    {{0.15514, 0.54312, -0.03286}, {-0.15514, 0.45684, 0.03286}, {0, 0, 0.01608}}};
constexpr Vector Xyz485nm{0.05699, 0.16987, 0.5864};
constexpr Vector Xyz660nm{0.16161, 0.061, 0.00001};

// Machado, Oliveira & Fernandes (2009), their table for severities 0.1, 0.2, ... 1.0.
using SeverityTable = std::array<Matrix, 10>;
constexpr SeverityTable ProtanomalyTable{{
    {{{0.856167, 0.182038, -0.038205},
      {0.029342, 0.955115, 0.015544},
      {-0.002880, -0.001563, 1.004443}}},
    {{{0.734766, 0.334872, -0.069637},
      {0.051840, 0.919198, 0.028963},
      {-0.004928, -0.004209, 1.009137}}},
    {{{0.630323, 0.465641, -0.095964},
      {0.069181, 0.890046, 0.040773},
      {-0.006308, -0.007724, 1.014032}}},
    {{{0.539009, 0.579343, -0.118352},
      {0.082546, 0.866121, 0.051332},
      {-0.007136, -0.011959, 1.019095}}},
    {{{0.458064, 0.679578, -0.137642},
      {0.092785, 0.846313, 0.060902},
      {-0.007494, -0.016807, 1.024301}}},
    {{{0.385450, 0.769005, -0.154455},
      {0.100526, 0.829802, 0.069673},
      {-0.007442, -0.022190, 1.029632}}},
    {{{0.319627, 0.849633, -0.169261},
      {0.106241, 0.815969, 0.077790},
      {-0.007025, -0.028051, 1.035076}}},
    {{{0.259411, 0.923008, -0.182420},
      {0.110296, 0.804340, 0.085364},
      {-0.006276, -0.034346, 1.040622}}},
    {{{0.203876, 0.990338, -0.194214},
      {0.112975, 0.794542, 0.092483},
      {-0.005222, -0.041043, 1.046265}}},
    {{{0.152286, 1.052583, -0.204868},
      {0.114503, 0.786281, 0.099216},
      {-0.003882, -0.048116, 1.051998}}},
}};
constexpr SeverityTable DeuteranomalyTable{{
    {{{0.866435, 0.177704, -0.044139},
      {0.049567, 0.939063, 0.011370},
      {-0.003453, 0.007233, 0.996220}}},
    {{{0.760729, 0.319078, -0.079807},
      {0.090568, 0.889315, 0.020117},
      {-0.006027, 0.013325, 0.992702}}},
    {{{0.675425, 0.433850, -0.109275},
      {0.125303, 0.847755, 0.026942},
      {-0.007950, 0.018572, 0.989378}}},
    {{{0.605511, 0.528560, -0.134071},
      {0.155318, 0.812366, 0.032316},
      {-0.009376, 0.023176, 0.986200}}},
    {{{0.547494, 0.607765, -0.155259},
      {0.181692, 0.781742, 0.036566},
      {-0.010410, 0.027275, 0.983136}}},
    {{{0.498864, 0.674741, -0.173604},
      {0.205199, 0.754872, 0.039929},
      {-0.011131, 0.030969, 0.980162}}},
    {{{0.457771, 0.731899, -0.189670},
      {0.226409, 0.731012, 0.042579},
      {-0.011595, 0.034333, 0.977261}}},
    {{{0.422823, 0.781057, -0.203881},
      {0.245752, 0.709602, 0.044646},
      {-0.011843, 0.037423, 0.974421}}},
    {{{0.392952, 0.823610, -0.216562},
      {0.263559, 0.690210, 0.046232},
      {-0.011910, 0.040281, 0.971630}}},
    {{{0.367322, 0.860646, -0.227968},
      {0.280085, 0.672501, 0.047413},
      {-0.011820, 0.042940, 0.968881}}},
}};

double dot(const Vector &a, const Vector &b)
{
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vector cross(const Vector &a, const Vector &b)
{
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vector times(const Matrix &m, const Vector &v)
{
    return {dot(m[0], v), dot(m[1], v), dot(m[2], v)};
}

Matrix transposed(const Matrix &m)
{
    return {
        {{m[0][0], m[1][0], m[2][0]}, {m[0][1], m[1][1], m[2][1]}, {m[0][2], m[1][2], m[2][2]}}};
}

Matrix product(const Matrix &a, const Matrix &b)
{
    const Matrix columns = transposed(b);
    Matrix p{};
    for (size_t i = 0; i < 3; ++i)
        p[i] = times(columns, a[i]);
    return p;
}

Matrix inverse(const Matrix &m)
{
    // Each row of the inverse is at right angles to two columns of `m`: their cross
    // product, over the determinant.
    const Matrix c = transposed(m);
    const double determinant = dot(c[0], cross(c[1], c[2]));
    Matrix rows{cross(c[1], c[2]), cross(c[2], c[0]), cross(c[0], c[1])};
    for (Vector &row : rows)
        for (double &v : row)
            v /= determinant;
    return rows;
}

Matrix mixed(const Matrix &a, const Matrix &b, double share)
{
    Matrix m{};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j)
            m[i][j] = a[i][j] + (b[i][j] - a[i][j]) * share;
    return m;
}

// A dichromat's cone that is missing is replaced by what the other two give on the
// plane of `normal` through black: the colour in linear RGB moved along that cone's
// axis onto the plane.
Matrix projection(size_t missing, const Vector &normal)
{
    Matrix cones = Identity;
    for (size_t k = 0; k < 3; ++k)
        cones[missing][k] = k == missing ? 0.0 : -normal[k] / normal[missing];
    return product(inverse(ConesFromRgb), product(cones, ConesFromRgb));
}

// One matrix, or two for the two half-planes: `second` where the colour lies on the
// negative side of `side` (linear RGB), `first` elsewhere.
struct Model
{
    Matrix first = Identity;
    Matrix second = Identity;
    Vector side{0, 0, 0};
};

const Vector &neutral()
{
    static const Vector white = times(ConesFromRgb, {1, 1, 1});
    return white;
}

Model vienot(size_t missing)
{
    // The plane through black, white and blue holds yellow too: the two hues both
    // dichromacies see as the normal viewer does.
    return {.first = projection(missing, cross(neutral(), times(ConesFromRgb, {0, 0, 1})))};
}

Model brettelTritan()
{
    const Vector blueWing = times(ConesFromXyz, Xyz485nm);
    const Vector redWing = times(ConesFromXyz, Xyz660nm);
    // The plane through the neutral axis and the S axis parts the colours whose M to L
    // ratio is above the neutral's (towards 485 nm) from the others.
    Vector parting = cross(neutral(), {0, 0, 1});
    if (dot(parting, blueWing) < 0)
        parting = {-parting[0], -parting[1], -parting[2]};
    return {.first = projection(2, cross(neutral(), blueWing)),
            .second = projection(2, cross(neutral(), redWing)),
            .side = times(transposed(ConesFromRgb), parting)};
}

Matrix machado(const SeverityTable &table, double severity)
{
    const double step = severity * 10.0 - 1.0;
    const size_t below = std::min(size_t(step), table.size() - 2);
    return mixed(table[below], table[below + 1], step - double(below));
}

Model modelOf(Vision vision, double severity)
{
    static const Model protanopia = vienot(0), deuteranopia = vienot(1),
                       tritanopia = brettelTritan();
    // Not a number would index the tables nowhere: taken as the default.
    severity = std::isnan(severity) ? DefaultSeverity
                                    : std::clamp(severity, LeastSeverity, GreatestSeverity);
    switch (vision) {
    case Vision::Protanomaly:
        return {.first = machado(ProtanomalyTable, severity)};
    case Vision::Protanopia:
        return protanopia;
    case Vision::Deuteranomaly:
        return {.first = machado(DeuteranomalyTable, severity)};
    case Vision::Deuteranopia:
        return deuteranopia;
    case Vision::Tritanomaly:
        return {mixed(Identity, tritanopia.first, severity),
                mixed(Identity, tritanopia.second, severity), tritanopia.side};
    case Vision::Tritanopia:
        return tritanopia;
    case Vision::Achromatopsia: {
        // The luminance weights in every row: a grey of the same relative luminance.
        const Vector y{0.2126, 0.7152, 0.0722};
        return {.first = {y, y, y}};
    }
    case Vision::Normal:
        break;
    }
    return {};
}

// Linear light to the nearest channel value through a table fine enough that it rounds
// as encodeChannel does but for light within 1/131070 of a boundary: a redraw encodes
// every pixel of a scene. Made by walking the boundaries once, in order.
const std::array<quint8, 65536> &encodedTable()
{
    static const auto table = [] {
        std::array<quint8, 65536> t{};
        int value = 0;
        for (size_t i = 0; i < t.size(); ++i) {
            const double linear = double(i) / 65535.0;
            while (value < 255 && channelBoundary(value) <= linear)
                ++value;
            t[i] = quint8(value);
        }
        return t;
    }();
    return table;
}

const std::array<double, 256> &linearTable()
{
    static const auto table = [] {
        std::array<double, 256> t{};
        for (size_t i = 0; i < t.size(); ++i)
            t[i] = linearChannel(int(i));
        return t;
    }();
    return table;
}

// The tables looked up once for all the pixels of a picture.
struct Seeing
{
    const Model &model;
    const std::array<double, 256> &linear = linearTable();
    const std::array<quint8, 65536> &encoded = encodedTable();

    int encode(double light) const
    {
        return encoded[size_t(std::clamp(light, 0.0, 1.0) * 65535.0 + 0.5)];
    }
    QRgb operator()(QRgb colour) const
    {
        const Vector in{linear[size_t(qRed(colour))], linear[size_t(qGreen(colour))],
                        linear[size_t(qBlue(colour))]};
        const Matrix &m = dot(model.side, in) < 0 ? model.second : model.first;
        return qRgba(encode(dot(m[0], in)), encode(dot(m[1], in)), encode(dot(m[2], in)),
                     qAlpha(colour));
    }
};

} // namespace

bool hasSeverity(Vision vision)
{
    return vision == Vision::Protanomaly || vision == Vision::Deuteranomaly ||
           vision == Vision::Tritanomaly;
}

const char *visionName(Vision vision)
{
    switch (vision) {
    case Vision::Protanomaly:
        return QT_TRANSLATE_NOOP("Vision", "Protanomaly");
    case Vision::Protanopia:
        return QT_TRANSLATE_NOOP("Vision", "Protanopia");
    case Vision::Deuteranomaly:
        return QT_TRANSLATE_NOOP("Vision", "Deuteranomaly");
    case Vision::Deuteranopia:
        return QT_TRANSLATE_NOOP("Vision", "Deuteranopia");
    case Vision::Tritanomaly:
        return QT_TRANSLATE_NOOP("Vision", "Tritanomaly");
    case Vision::Tritanopia:
        return QT_TRANSLATE_NOOP("Vision", "Tritanopia");
    case Vision::Achromatopsia:
        return QT_TRANSLATE_NOOP("Vision", "Achromatopsia");
    case Vision::Normal:
        break;
    }
    return QT_TRANSLATE_NOOP("Vision", "Normal");
}

QRgb simulateVision(QRgb colour, Vision vision, double severity)
{
    if (vision == Vision::Normal)
        return colour;
    const Model model = modelOf(vision, severity);
    return Seeing{model}(colour);
}

void simulateVision(QImage &picture, Vision vision, double severity)
{
    if (vision == Vision::Normal)
        return;
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32)
        picture = picture.convertToFormat(picture.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                    : QImage::Format_RGB32);
    const Model model = modelOf(vision, severity);
    const Seeing seen{model};
    const int width = picture.width();
    for (int y = 0; y < picture.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        // Scenes are runs of one colour: a pixel like the last one costs no product.
        QRgb last = ~line[0], lastSeen = 0;
        for (QRgb *p = line; p != line + width; ++p) {
            if (*p != last)
                lastSeen = seen(last = *p);
            *p = lastSeen;
        }
    }
}

#pragma once
// The pictures of the splash and about windows, drawn rather than stored: views of the city and
// the product's emblem.
#include <QWidget>

enum class CityPicture {
    OldTown,   // roofs, a church with its conical dome and the television tower on the ridge
    River,     // the river under an arched bridge
    CableCar,  // a cable-car cabin climbing to the fortress
    Fortress,  // the fortress wall on its hill at dusk
    Emblem,    // a map pin over a folded city map, with the product's name
    BusBanner, // a banner with a city bus
    MapBanner, // a banner with a map pin
};

void paintCityPicture(QPainter &painter, const QRect &rect, CityPicture kind);

class CityPictureWidget : public QWidget {
    Q_OBJECT
public:
    CityPictureWidget(CityPicture kind, const QRect &geometry, QWidget *parent);
    CityPicture kind() const { return m_kind; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CityPicture m_kind;
};

#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "korvex/app/data/data_export.h"
#include "korvex/app/data/loaded_survey.h"
#include "korvex/app/data/point_table.h"
#include "korvex/app/data/styled_object.h"
#include "korvex/host/persistent_object.h"

namespace korvex::app::data {

class PointSetVisual;
class OpenSurveys;

// Points read from delimited text (horizon picks, well tops...), drawn as markers
// coloured by one of their properties. The Z column is time or depth, drawn pointing
// down like the volumes: a point sits at (X, Y, -Z).
class KORVEX_DATA_EXPORT PointSet final : public StyledObject, public host::PersistentObject {
    Q_OBJECT

public:
    static constexpr const char* TYPE = "point_set";

    // What the X and Y columns hold. Inline/crossline points belong to one survey, which
    // places them; map points need none.
    enum class Columns { lines, map };
    static QString columns_key(Columns columns);

    // The columns of a point file as far as its values tell, none when both readings
    // put the points near one of the surveys or neither does. Without surveys they are lines.
    static std::optional<Columns> guess_columns(const PointTable& table,
                                                const std::vector<LoadedSurvey>& surveys);
    // Settings for a file opened afresh without questions (the command line): the guess,
    // or map X/Y when the values lie far from every survey's lines. The survey is left to
    // the load, which takes the one holding the points or refuses.
    static QVariantMap guessed_settings(const QString& path, const OpenSurveys* surveys);
    // The names of the surveys whose outline holds every point of `table`.
    static QStringList surveys_holding(const PointTable& table, Columns columns,
                                       const std::vector<LoadedSurvey>& surveys);

    // A point set as a project saved it, with the delimiter, survey and style of settings().
    static std::unique_ptr<PointSet> load(const QString& path, const QVariantMap& settings,
                                          OpenSurveys* surveys = nullptr);

    // `delimiter` is a key of DELIMITER2CHAR; empty means: comma if the first data line
    // has one, else space. Throws utils::ValueError naming the file, line and column.
    // The points are placed through the open survey named `survey`; unnamed, through the
    // one of `surveys` whose outline holds them. Throws utils::ValueError when the named
    // survey is not open, or when the points need one and no single survey holds them,
    // naming the candidates. Map points in another coordinate reference system than the
    // project's (`crs`, an EPSG code or WKT) are moved into the project's as they are read.
    // A pick on a point looks for it in the volumes of `surveys`.
    explicit PointSet(const QString& path, const QString& delimiter = {},
                      Columns columns = Columns::lines, OpenSurveys* surveys = nullptr,
                      const QString& survey = {}, const QString& crs = {},
                      QObject* parent = nullptr);
    ~PointSet() override;

    QString name() const override;
    QVariantMap prop() const override;
    bool viewable_in_volume() const override { return true; }
    void make_visuals_in_volume(const QString& parent) override;
    // Point sets have no sections: throws utils::NotImplementedError.
    void make_image_3d(const QString& section_type, const QString& parent) override;

    QString type_name() const override { return TYPE; }
    QString source_path() const override;
    QVariantMap settings() const override;

    const PointTable& table() const { return table_; }
    // The window's open surveys, none when built without them.
    OpenSurveys* open_surveys() const;
    Columns columns() const { return columns_; }
    // The name of the survey the points are placed through; empty without one.
    QString survey_name() const;

    QString color_by() const { return color_by_; }
    // A column name; others throw utils::LookupError.
    void set_color_by(const QString& property);
    QString colormap() const { return colormap_; }
    // A name of scene::colormap_names(); others throw utils::ValueError.
    void set_colormap(const QString& name);
    double point_size() const { return point_size_; }
    // Marker diameter in pixels, positive (utils::ValueError otherwise).
    void set_point_size(double size);

    // Value `index` of `column` as the user reads it: text, map X/Y to the centimetre,
    // other numbers in full.
    QString value_text(int column, int index) const;

    // Index of the point nearest to a world point.
    int nearest_point(const std::array<double, 3>& world) const;
    // The scene position of point `index`: on the map about the window's local origin.
    std::array<double, 3> position(int index) const;
    // Map X/Y of point `index`, through its survey when given in line numbers.
    std::array<double, 2> map_position(int index) const;
    // The name of point `index`, from the first text column, else its number from 1.
    QString point_name(int index) const;

private:
    // Points in line numbers go where their survey now lies: the survey they were placed
    // through, or, for points that had none, a survey that holds them.
    void follow_survey(const QString& name);
    void reposition();
    std::vector<std::shared_ptr<PointSetVisual>> visuals() const;
    void recolor(PointSetVisual& visual) const;
    QString number_text(int column, double value) const;

    QString path_;
    QString delimiter_;
    QString crs_;
    PointTable table_;
    Columns columns_;
    std::optional<LoadedSurvey> survey_;
    QString color_by_;
    QString colormap_ = QStringLiteral("jet");
    double point_size_ = 6.0;
    QPointer<OpenSurveys> open_surveys_;
};

}  // namespace korvex::app::data

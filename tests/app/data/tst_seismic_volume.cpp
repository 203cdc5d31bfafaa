#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <cstring>

#include "korvex/app/data/data_types.h"
#include "korvex/app/data/seismic_volume.h"
#include "korvex/app/data/volume_cache_pass.h"
#include "korvex/app/data/volume_sections.h"
#include "korvex/scene/color_bar.h"
#include "korvex/scene/image_section.h"
#include "korvex/scene/line_visual.h"
#include "korvex/seismic/cache_folder.h"
#include "korvex/seismic/cache_header.h"
#include "korvex/seismic/section_cache.h"
#include "korvex/seismic/segy_writer.h"
#include "korvex/utils/appconsts/appconsts.h"
#include "korvex/utils/errors.h"
#include "tests/app/open_volume.h"
#include "tests/seismic/test_volumes.h"
#include "tests/support/log_capture.h"
#include "tests/support/test_main.h"

using korvex::app::data::SeismicVolume;
using korvex::app::data::VolumeCachePass;
using korvex::seismic::SectionKind;
using korvex::testing::image;
using korvex::testing::VolumeLayout;

namespace {

// The inline section as drawn: a row per sample, a column per crossline.
std::vector<float> inline_image(const VolumeLayout& layout, int il) {
    std::vector<float> values;
    for (int s = 0; s < layout.samples; ++s)
        for (int xl = 0; xl < int(layout.xlines.size()); ++xl)
            values.push_back(layout.value(il, xl, s));
    return values;
}

}  // namespace

class SeismicVolumeTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    VolumeLayout layout_;
    QString path_;

private slots:
    // The volumes keep their caches in the user's cache folder, here the test's own.
    void initTestCase() { qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath("cache"))); }

    void init() {
        layout_ = korvex::testing::irregular_survey(8);
        path_ = dir_.filePath("survey_a.sgy");
        korvex::testing::write_volume(path_, layout_);
    }

    void describes_itself() {
        const auto volume_held = korvex::testing::open_volume(path_);
        const SeismicVolume& volume = *volume_held;
        QCOMPARE(volume.name(), QString("survey_a"));
        QVERIFY(volume.viewable_in_volume());
        const QVariantMap prop = volume.prop();
        QCOMPARE(prop["File"].toString(), path_);
        QCOMPARE(prop["Inlines"].toString(), QString("200 - 220, step 5 (5 lines)"));
        QCOMPARE(prop["Crosslines"].toString(), QString("7 - 4, step -1 (4 lines)"));
        QCOMPARE(prop["Time"].toString(), QString("100 - 114 ms"));
        QCOMPARE(prop["Format"].toString(), QString("IEEE float"));
        QVERIFY(prop.contains("Amplitude range") && prop.contains("Sorting"));
        for (const QString& type : korvex::utils::appconsts::SECTION_TYPES)
            QVERIFY(volume.section_image3d.count(type) == 1);
        QCOMPARE(volume.clip(), double(volume.stats().clip));
    }

    // Neither the binary nor the trace headers give the interval: the usual one is taken,
    // and the page says so rather than pass it off as the file's.
    void an_interval_the_headers_do_not_give_is_told_as_assumed() {
        VolumeLayout layout;
        layout.interval_us = 0;
        const QString path = dir_.filePath("no_interval.sgy");
        korvex::testing::write_volume(path, layout);
        QCOMPARE(korvex::testing::open_volume(path)->prop()["Sample interval"].toString(),
                 QString("4 ms, assumed: the headers give none"));
    }

    void the_cache_pass_finds_the_spike_the_opening_missed_data() {
        QTest::addColumn<bool>("typed");
        QTest::newRow("clip from the figures") << false;
        QTest::newRow("clip typed, equal to the sampled figure") << true;
    }

    // Opening reads evenly spread traces of a large file and can miss a spike; the cache
    // pass reads every sample, and the figures follow it, and the clip when it was theirs.
    void the_cache_pass_finds_the_spike_the_opening_missed() {
        QFETCH(bool, typed);
        VolumeLayout layout;
        layout.ilines.resize(50);
        layout.xlines.resize(50);
        for (int i = 0; i < 50; ++i) layout.ilines[i] = layout.xlines[i] = i + 1;
        layout.samples = 4;
        const QString path = dir_.filePath("spiky.sgy");
        korvex::testing::write_volume(path, layout);
        {
            // Trace 5 of 2500 is not among the 2000 the opening reads.
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.seek(3600 + 4 * (240 + 4 * layout.samples) + 240));
            const float spike = 1e6f;
            quint32 bits = 0;
            std::memcpy(&bits, &spike, sizeof bits);
            bits = qToBigEndian(bits);
            file.write(reinterpret_cast<const char*>(&bits), sizeof bits);
        }
        const auto volume_held = korvex::testing::open_volume(path);
        SeismicVolume& volume = *volume_held;
        QVERIFY(volume.stats().sampled && volume.stats().max < 100.0f);
        QVERIFY(volume.prop()["Amplitude range"].toString().endsWith("(sampled traces)"));
        const double sampled = volume.clip();
        if (typed) volume.set_clip(sampled);

        QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
        volume.make_image_3d("iline", "viewer");  // the first picture starts the pass
        QVERIFY(ended.wait());
        QCOMPARE(volume.stats().max, 1e6f);
        QVERIFY(volume.prop()["Amplitude range"].toString().endsWith("1000000 (all traces)"));
        QVERIFY(double(volume.stats().clip) != sampled);
        QCOMPARE(volume.clip(), typed ? sampled : double(volume.stats().clip));
        QVERIFY(volume.clip() < 100.0);  // the spike does not wash the sections out
    }

    void sections_start_in_the_middle_with_the_written_values() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("iline", "viewer");
        const auto il = image(volume, "iline", "viewer");
        QVERIFY(il);
        // Read on a worker: the plane waits, unseen, for its data.
        QVERIFY(volume.sections_pending() && !il->visible());
        QTRY_VERIFY(!volume.sections_pending());
        QVERIFY(il->visible());
        QCOMPARE(il->axis(), 'x');
        QCOMPARE(il->position(), 210.0);
        QCOMPARE(il->rows(), layout_.samples);
        QCOMPARE(il->cols(), 4);
        QCOMPARE(il->array_data(), inline_image(layout_, 2));
        QCOMPARE(il->extent().v0, -100.0);
        QCOMPARE(il->extent().v1, -114.0);
        QCOMPARE(il->clim()[0], -volume.clip());
        QCOMPARE(il->colormap(), QString("seismic"));
        QCOMPARE(il->queryable_in_3d, std::optional<bool>(true));
        QCOMPARE(il->host_dob, &volume);

        volume.make_image_3d("xline", "viewer");
        volume.make_image_3d("depth", "viewer");
        QTRY_VERIFY(!volume.sections_pending());
        QCOMPARE(image(volume, "xline", "viewer")->position(), 5.0);
        const auto depth = image(volume, "depth", "viewer");
        QCOMPARE(depth->position(), -108.0);
        QCOMPARE(depth->rows(), 4);  // a row per crossline, a column per inline
        QCOMPARE(depth->array_data()[1 * 5 + 3], layout_.value(3, 1, 4));
        QVERIFY_EXCEPTION_THROWN(volume.make_image_3d("arbline", "viewer"),
                                 korvex::utils::LookupError);
    }

    void moving_a_section_updates_every_viewer_in_place() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("iline", "one");
        volume.make_image_3d("iline", "two");
        const auto one = image(volume, "iline", "one");
        const auto two = image(volume, "iline", "two");
        QTRY_VERIFY(!volume.sections_pending());
        QSignalSpy moved(&volume, &SeismicVolume::sig_section_moved);

        volume.set_section_index(SectionKind::iline, 4);
        QCOMPARE(volume.section_index(SectionKind::iline), 4);
        QVERIFY(moved.wait());
        for (const auto& visual : {one, two}) {
            QCOMPARE(visual->position(), 220.0);
            QCOMPARE(visual->array_data(), inline_image(layout_, 4));
        }
        QCOMPARE(image(volume, "iline", "one"), one);
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][1].toInt(), 4);
        QVERIFY_EXCEPTION_THROWN(volume.set_section_index(SectionKind::iline, 5),
                                 korvex::utils::LookupError);
        QCOMPARE(volume.section_index(SectionKind::iline), 4);
    }

    // A slider dragged or Page Down held: of many requests only the last is read and
    // drawn, once, in every viewer.
    void the_newest_request_wins() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("iline", "one");
        volume.make_image_3d("iline", "two");
        QSignalSpy moved(&volume, &SeismicVolume::sig_section_moved);
        QSignalSpy settled(&volume, &SeismicVolume::sig_sections_settled);
        for (int step = 0; step < 40; ++step)
            volume.set_section_index(SectionKind::iline, (step * 3) % 5);
        volume.set_section_index(SectionKind::iline, 1);
        QCOMPARE(volume.section_index(SectionKind::iline), 1);
        QVERIFY(settled.wait());
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved[0][1].toInt(), 1);
        for (const QString viewer : {"one", "two"}) {
            QCOMPARE(image(volume, "iline", viewer)->array_data(), inline_image(layout_, 1));
            QCOMPARE(image(volume, "iline", viewer)->position(), 205.0);
        }
    }

    // Restyling works from memory: even a file gone bad meanwhile does not matter,
    // while a move reports the damage and leaves the section as it was.
    void colours_never_read_and_failed_moves_change_nothing() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("iline", "viewer");
        const auto il = image(volume, "iline", "viewer");
        QTRY_VERIFY(!volume.sections_pending());
        QVERIFY(QFile(path_).resize(3600));

        volume.set_colormap("gray");
        volume.set_clip(7.5);
        volume.set_opacity(0.5);
        QCOMPARE(il->colormap(), QString("gray"));
        QCOMPARE(il->clim()[1], 7.5);
        volume.make_image_3d("iline", "second viewer");  // the section is already in memory
        QCOMPARE(image(volume, "iline", "second viewer")->array_data(), inline_image(layout_, 2));

        korvex::testing::LogCapture log;
        QSignalSpy failed(&volume, &SeismicVolume::sig_section_failed);
        volume.set_section_index(SectionKind::iline, 0);
        QVERIFY(failed.wait());
        QVERIFY2(failed[0][1].toString().contains(path_), qPrintable(failed[0][1].toString()));
        QVERIFY(log.contains(
            "error", "survey_a: the inline section cannot be read: " + failed[0][1].toString()));
        QCOMPARE(volume.section_index(SectionKind::iline), 2);
        QCOMPARE(il->position(), 210.0);
        QCOMPARE(il->array_data(), inline_image(layout_, 2));
    }

    void bad_style_values_are_refused() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        QVERIFY_EXCEPTION_THROWN(volume.set_colormap("rainbowish"), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(volume.set_clip(0.0), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(volume.set_clip(NAN), korvex::utils::ValueError);
        QVERIFY_EXCEPTION_THROWN(volume.set_opacity(1.5), korvex::utils::ValueError);
        QCOMPARE(volume.colormap(), QString("seismic"));
        QCOMPARE(volume.opacity(), 1.0);
    }

    void picking_finds_the_written_amplitude() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_image_3d("xline", "viewer");
        volume.make_image_3d("depth", "viewer");
        QVERIFY_EXCEPTION_THROWN(volume.picker().pick(SectionKind::xline, {214.0, 5.3, -106.4}),
                                 korvex::utils::LookupError);  // not read yet
        QTRY_VERIFY(!volume.sections_pending());
        // On crossline 5 (index 2): inline 215 (index 3), time 106 ms (sample 3).
        const auto on_xline = volume.picker().pick(SectionKind::xline, {214.0, 5.3, -106.4});
        QCOMPARE(on_xline.sample.iline, 215);
        QCOMPARE(on_xline.sample.xline, 5);
        QCOMPARE(on_xline.sample.time, 106.0);
        QCOMPARE(on_xline.amplitude, layout_.value(3, 2, 3));

        const auto on_depth = volume.picker().pick(SectionKind::depth, {201.0, 6.9, -50.0});
        QCOMPARE(on_depth.sample.time, 108.0);  // the slice's own time, whatever z says
        QCOMPARE(on_depth.amplitude, layout_.value(0, 0, 4));
        QVERIFY_EXCEPTION_THROWN(volume.picker().pick(SectionKind::iline, {0, 0, 0}),
                                 korvex::utils::LookupError);
    }

    void survey_box_outlines_the_volume_with_axes_and_colour_bar() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.make_visuals_in_volume("viewer");
        const auto& item = volume.visuals_in_volume.at("viewer");
        QVERIFY(item.is_list());
        QCOMPARE(item.entries().size(), std::size_t(3));
        const auto& outline = item.entries()[0].visual();
        QCOMPARE(outline->name, korvex::utils::appconsts::SURVEY_BOX_LINE);
        QVERIFY((outline->bounds() == std::array<double, 6>{200, 220, 4, 7, -114, -100}));
        QCOMPARE(std::dynamic_pointer_cast<korvex::scene::LineVisual>(outline)->point_count(),
                 std::size_t(24));
        const auto& axes = item.entries()[1].visual();
        QCOMPARE(axes->name, korvex::utils::appconsts::SURVEY_BOX_LABEL);
        QVERIFY(axes->contrasts_with_background && outline->contrasts_with_background);

        // The colour bar follows the volume's colours.
        const auto bar =
            std::dynamic_pointer_cast<korvex::scene::ColorBar>(item.entries()[2].visual());
        QVERIFY(bar);
        QCOMPARE(bar->colormap(), volume.colormap());
        QCOMPARE(bar->clim(), (std::array<double, 2>{-volume.clip(), volume.clip()}));
        volume.set_colormap("gray");
        volume.set_clip(3.5);
        QCOMPARE(bar->colormap(), QString("gray"));
        QCOMPARE(bar->clim(), (std::array<double, 2>{-3.5, 3.5}));
        QVERIFY(!bar->frames_view);
    }

    void the_time_slices_are_called_time() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        QCOMPARE(volume.section_label("depth"), QString("time"));
        QCOMPARE(volume.section_label("iline"), QString("iline"));
    }

    void settings_bring_the_volume_back_as_it_was() {
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        volume.set_section_index(SectionKind::iline, 1);
        volume.set_section_index(SectionKind::depth, 7);
        volume.set_colormap("gray");
        volume.set_clip(12.5);
        volume.set_opacity(0.75);
        const QVariantMap settings = volume.settings();
        QCOMPARE(settings["iline"].toDouble(), 205.0);  // by line number and time, not index
        QCOMPARE(settings["depth"].toDouble(), 114.0);
        QCOMPARE(volume.type_name(), QString("seismic_volume"));
        QCOMPARE(volume.source_path(), QFileInfo(path_).absoluteFilePath());

        const auto restored = korvex::testing::open_volume(path_, settings);
        QCOMPARE(restored->settings(), settings);
        QTRY_VERIFY(!volume.sections_pending() && !restored->sections_pending());
        QCOMPARE(restored->section_index(SectionKind::iline), 1);
        QCOMPARE(restored->section_index(SectionKind::xline), 2);
    }

    void broken_settings_are_skipped_with_a_warning() {
        korvex::testing::LogCapture log;
        const auto volume =
            korvex::testing::open_volume(path_, {{"iline_byte", 189},
                                                 {"xline_byte", 193},
                                                 {"iline", 1e6},
                                                 {"colormap", "nope"},
                                                 {"clip", -3},
                                                 {"opacity", 0.5},
                                                 {"map_grid", QVariantMap{{"origin_x", "west"}}}});
        QCOMPARE(volume->section_index(SectionKind::iline), 4);  // snapped to the last inline
        QVERIFY(log.contains("warning", QString("survey_a: the saved inline 1000000 is not in %1 "
                                                "now; inline %2 is shown")
                                            .arg(volume->source_path())
                                            .arg(layout_.ilines.back())));
        QCOMPARE(volume->colormap(), QString("seismic"));
        QCOMPARE(volume->clip(), double(volume->stats().clip));
        QCOMPARE(volume->opacity(), 0.5);
        QVERIFY(
            log.contains("warning", "survey_a: saved colormap ignored: unknown colormap \"nope\""));
        QVERIFY(log.contains(
            "warning", "survey_a: saved clip ignored: the clip must be a positive amplitude"));
        QVERIFY(log.contains("warning",
                             "survey_a: saved map_grid ignored: its origin_x is not a number"));
        QVERIFY(!volume->grid());

        // A file rewritten with its line numbers elsewhere opens with those, told.
        const auto rewritten =
            korvex::testing::open_volume(path_, {{"iline_byte", 17}, {"xline_byte", 21}});
        QCOMPARE(rewritten->settings().value("iline_byte").toInt(), 189);
        QVERIFY(log.contains("warning", path_ + ": the line numbers are no longer at bytes 17 "
                                                "and 21; it is opened with those found at bytes "
                                                "189 and 193"));
    }

    void header_bytes_outside_the_trace_header_are_refused_by_name() {
        // segyio reads whatever position it is given; these once crashed the app or read garbage.
        const QVariantList wrong{2147483647, -2147483648LL, 1000,  0,    238,
                                 -5000,      1e300,         189.5, "abc"};
        for (const QVariant& byte : wrong) {
            for (const QString& key : QStringList{"iline_byte", "xline_byte"}) {
                QVariantMap settings = SeismicVolume::header_settings({});
                settings[key] = byte;
                try {
                    korvex::testing::open_volume(path_, settings);
                    QFAIL(qPrintable(key + " " + byte.toString() + " was accepted"));
                } catch (const std::runtime_error& error) {
                    QVERIFY2(QString(error.what()).startsWith("survey_a: saved " + key),
                             error.what());
                }
            }
        }
        QVERIFY_EXCEPTION_THROWN(
            korvex::testing::open_volume(path_, SeismicVolume::header_settings({1000, 193})),
            std::runtime_error);
        // Without its bytes the volume cannot be read; guessing them could show garbage.
        try {
            korvex::testing::open_volume(path_, {{"iline_byte", 189}, {"colormap", "gray"}});
            QFAIL("opened without its crossline byte");
        } catch (const std::runtime_error& error) {
            QCOMPARE(QString(error.what()), QString("survey_a: the project gives no xline_byte"));
        }
        QCOMPARE(korvex::testing::open_volume(path_, {{"iline_byte", 189.0}, {"xline_byte", 193}})
                     ->name(),
                 QString("survey_a"));
    }

    void registered_types_load_by_their_loaders() {
        const auto types = korvex::app::data::data_types(nullptr, nullptr, nullptr);
        QCOMPARE(types.size(), std::size_t(2));
        QCOMPARE(types[0].name, QString("seismic_volume"));
        QVERIFY(types[0].suffixes.contains("sgy") && types[1].suffixes.contains("csv"));
        // Opened afresh without a dialog, a volume takes the usual header bytes.
        const auto volume = korvex::testing::open_volume(path_, types[0].guess(path_));
        QCOMPARE(volume->name(), QString("survey_a"));
    }

    void visuals_outliving_the_volume_are_inert() {
        std::shared_ptr<korvex::scene::ImageSection> kept;
        {
            const auto volume_held = korvex::testing::open_volume(path_);
            SeismicVolume& volume = *volume_held;
            volume.make_image_3d("iline", "viewer");
            kept = image(volume, "iline", "viewer");
        }
        QCOMPARE(kept->host_dob, nullptr);
        QCOMPARE(kept->queryable_in_3d, std::optional<bool>(false));
    }

    // After the first picture the cache is built in the background; time slices then come
    // from it, with the file's values, and a reopened volume reuses it.
    void time_slices_come_from_the_cache_once_built() {
        korvex::testing::LogCapture log;
        {
            const auto volume_held = korvex::testing::open_volume(path_);
            SeismicVolume& volume = *volume_held;
            QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
            volume.make_image_3d("depth", "viewer");
            QTRY_COMPARE(ended.size(), 1);
            QCOMPARE(ended[0][0].toBool(), true);
            volume.set_section_index(SectionKind::depth, 6);
            QTRY_VERIFY(!volume.sections_pending());
            const auto depth = image(volume, "depth", "viewer");
            QCOMPARE(depth->array_data()[2 * 5 + 1], layout_.value(1, 2, 6));
            QCOMPARE(depth->array_data()[3 * 5 + 4], layout_.value(4, 3, 6));
        }
        QVERIFY(log.contains("info",
                             "survey_a: section cache built; every trace is where its line "
                             "numbers say"));
        // Reopened, the time slice of the first picture comes from the cache: the file
        // gives the two lines and nothing else.
        const auto again_held = korvex::testing::open_volume(path_);
        SeismicVolume& again = *again_held;
        QVERIFY(log.contains("info", "survey_a: section cache reused"));
        for (const char* type : {"iline", "xline", "depth"}) again.make_image_3d(type, "viewer");
        QTRY_VERIFY(again.sections_drawn() && !again.sections_pending());
        const auto& file = again.file();
        QCOMPARE(file.bytes_read(),
                 (file.geometry().xline_count() + file.geometry().iline_count()) *
                     qint64(file.trace_stride()));
        QCOMPARE(image(again, "depth", "viewer")->array_data()[3 * 5 + 4], layout_.value(4, 3, 4));
    }

    void a_damaged_cache_gives_way_to_the_file_and_is_built_again_data() {
        QTest::addColumn<bool>("truncated");
        QTest::newRow("a flipped byte in a plane") << false;
        QTest::newRow("truncated while open") << true;
    }
    void a_damaged_cache_gives_way_to_the_file_and_is_built_again() {
        QFETCH(bool, truncated);
        korvex::testing::LogCapture log;
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
        volume.make_image_3d("depth", "viewer");
        QTRY_COMPARE(ended.size(), 1);
        QVERIFY(ended[0][0].toBool());

        QFile cache(korvex::seismic::CacheFolder(dir_.filePath("cache/korvex/sections"))
                        .path_for(volume.file()));
        QVERIFY(cache.open(QIODevice::ReadWrite));
        const qint64 damaged =
            qint64(korvex::seismic::CacheHeader::for_volume(volume.file()).plane_offset(3)) + 5;
        if (truncated) {
            QVERIFY(cache.resize(damaged));
        } else {
            QVERIFY(cache.seek(damaged));
            const char flipped = char(cache.peek(1)[0] ^ 0x40);
            QVERIFY(cache.write(&flipped, 1) == 1);
        }
        cache.close();

        const auto damage_lines = [&] {
            int count = 0;
            for (const auto& line : log.lines())
                count += line.text.contains("section cache failed a read");
            return count;
        };
        for (int s = 0; s < layout_.samples; ++s) {
            volume.set_section_index(SectionKind::depth, s);
            QTRY_VERIFY(volume.sections_drawn() && !volume.sections_pending());
            const auto values = image(volume, "depth", "viewer")->array_data();
            std::vector<float> expected;
            for (int xl = 0; xl < 4; ++xl)
                for (int il = 0; il < 5; ++il) expected.push_back(layout_.value(il, xl, s));
            QVERIFY2(std::equal(expected.begin(), expected.end(), values.begin(), values.end()),
                     qPrintable(QString("time slice %1").arg(s)));
        }
        QCOMPARE(damage_lines(), 1);
        QTRY_COMPARE(ended.size(), 2);
        QVERIFY(ended[1][0].toBool());
    }

    // A file damaged after the first picture: the background pass reports it and ends,
    // nothing escapes into the event loop, time slices stay with the file.
    void a_cache_pass_over_a_damaged_file_fails_with_a_message() {
        korvex::testing::LogCapture log;
        const auto volume_held = korvex::testing::open_volume(path_);
        SeismicVolume& volume = *volume_held;
        QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
        // The pass starts right after the first section is drawn, so this comes first.
        connect(&volume, &SeismicVolume::sig_section_moved, this,
                [this] { QFile(path_).resize(3700); });
        volume.make_image_3d("iline", "viewer");
        QVERIFY(ended.wait());
        QCOMPARE(ended[0][0].toBool(), false);
        const QString message = ended[0][1].toString();
        QVERIFY2(message.contains(path_), qPrintable(message));
        QVERIFY(log.contains(
            "error", "survey_a: no section cache, time slices are read from the file: " + message));
        QVERIFY(volume.withdrawn().isEmpty());
    }

    // The quick check at opening passes two traces swapped between the ones it samples; the
    // full check of the cache pass finds them, and each is drawn at its own line numbers.
    void traces_out_of_order_are_placed_anew_by_the_full_check() {
        const QString path = dir_.filePath("swapped.sgy");
        korvex::testing::write_swapped_survey(path);
        korvex::testing::LogCapture log;
        const auto volume_held = korvex::testing::open_volume(path);
        SeismicVolume& volume = *volume_held;
        QSignalSpy ended(&volume, &SeismicVolume::sig_cache_pass_ended);
        volume.set_section_index(SectionKind::iline, 50);
        volume.make_image_3d("iline", "one");
        QVERIFY(ended.wait(30000));
        QVERIFY(ended[0][0].toBool());
        QVERIFY(log.contains("warning",
                             "swapped.sgy: the full check found traces out of the order the "
                             "opening sampled; the picture now shows each trace at its line "
                             "numbers"));
        QTRY_VERIFY(volume.sections_drawn() && !volume.sections_pending());
        // The traces written at crosslines 1004 and 1012 say each other's numbers.
        std::vector<float> expected = inline_image(korvex::testing::large_survey(), 50);
        for (std::size_t row = 0; row < expected.size(); row += 100)
            std::swap(expected[row + 1], expected[row + 3]);
        QCOMPARE(image(volume, "iline", "one")->array_data(), expected);
        // Opening the file again as the sample places it must not take that cache.
        using korvex::seismic::SegyVolumeFile;
        const QStringList folders{korvex::seismic::SectionCache::default_folder()};
        QVERIFY(!VolumeCachePass::find(SegyVolumeFile(path), folders));
        // It is found as the file opens instead: the traces are placed from the start.
        const auto again = korvex::testing::open_volume(path);
        QVERIFY(again->file().geometry().has_holes() && again->sections().has_cache());
    }

    // Two traces at one position, the second between the ones opening samples: no grid holds
    // the file, so the sections go, named in the status bar of the window the volume was
    // handed.
    void a_file_no_grid_holds_is_withdrawn_by_the_full_check() {
        const QString path = dir_.filePath("twice.sgy");
        const VolumeLayout layout = korvex::testing::large_survey();
        korvex::seismic::SegyWriter writer(path, layout.samples, layout.format, layout.interval_us);
        for (int il = 0; il < 100; ++il)
            for (int xl = 0; xl < 100; ++xl)
                writer.write_trace(layout.ilines[il], layout.xlines[il == 50 && xl == 1 ? 3 : xl],
                                   layout.trace(il, xl));
        writer.close();
        const auto volume_held = korvex::testing::open_volume(path);
        SeismicVolume& volume = *volume_held;
        QMainWindow host;
        volume.set_progress_host(&host);
        QSignalSpy withdrawn(&volume, &SeismicVolume::sig_withdrawn);
        bool first_picture = false;  // drawn on the strength of the quick check
        connect(&volume, &SeismicVolume::sig_section_moved, this, [&](SectionKind kind) {
            if (kind == SectionKind::iline)
                first_picture = image(volume, "iline", "one")->visible();
        });
        volume.make_image_3d("iline", "one");
        volume.make_image_3d("depth", "one");

        QVERIFY(withdrawn.wait());
        QVERIFY(first_picture);
        const QString message = withdrawn[0][0].toString();
        QVERIFY2(message.contains("traces 5002 and 5004 both lie at inline 600, crossline 1012"),
                 qPrintable(message));
        QCOMPARE(volume.withdrawn(), message);
        QCOMPARE(host.statusBar()->currentMessage(), message);
        for (const QString type : {"iline", "depth"}) {
            QVERIFY(!image(volume, type, "one")->visible());
            QCOMPARE(image(volume, type, "one")->queryable_in_3d, std::optional<bool>(false));
        }
        QVERIFY(!volume.sections_drawn());
        QVERIFY_EXCEPTION_THROWN(volume.set_section_index(SectionKind::iline, 3),
                                 korvex::utils::ValueError);
        volume.make_image_3d("xline", "two");  // a new viewer gets the sections hidden too
        QVERIFY(!image(volume, "xline", "two")->visible());
    }
};

KORVEX_TEST_MAIN(SeismicVolumeTest)
#include "tst_seismic_volume.moc"

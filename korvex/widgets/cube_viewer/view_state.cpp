#include "korvex/widgets/cube_viewer/view_state.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "korvex/utils/errors.h"
#include "korvex/utils/logger.h"

namespace korvex::widgets {

namespace {

// One JSON value as compact text (Qt writes only whole documents).
QByteArray value_text(const QJsonValue& value) {
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// The keys of the outermost object of well-formed JSON text, in the text's order
// (QJsonObject sorts them).
QStringList top_level_keys(const QByteArray& json) {
    QStringList keys;
    int depth = 0;
    bool expect_key = false;
    for (int i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            int end = i + 1;
            while (json[end] != '"') end += json[end] == '\\' ? 2 : 1;
            if (depth == 1 && expect_key) {
                const QByteArray literal = "[" + json.mid(i, end - i + 1) + "]";
                keys << QJsonDocument::fromJson(literal).array().first().toString();
                expect_key = false;
            }
            i = end;
        } else if (c == '{' || c == '[') {
            ++depth;
            expect_key = depth == 1;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expect_key = true;
        }
    }
    return keys;
}

[[noreturn]] void refuse(const QString& key, const char* expected, const QVariant& value) {
    throw utils::ValueError(
        utils::format("view state \"{}\" must be {}, got {}", key, expected,
                      QString::fromUtf8(value_text(QJsonValue::fromVariant(value))))
            .toStdString());
}

std::optional<double> as_number(const QVariant& value) {
    switch (static_cast<QMetaType::Type>(value.userType())) {
        case QMetaType::Double:
        case QMetaType::Float:
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::ULongLong: {
            const double number = value.toDouble();
            if (std::isfinite(number)) return number;
            return std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

std::optional<std::vector<double>> as_numbers(const QVariant& value) {
    if (static_cast<QMetaType::Type>(value.userType()) != QMetaType::QVariantList)
        return std::nullopt;
    std::vector<double> numbers;
    for (const QVariant& entry : value.toList()) {
        const auto number = as_number(entry);
        if (!number) return std::nullopt;
        numbers.push_back(*number);
    }
    return numbers;
}

std::optional<double> number_at(const ViewState& state, const QString& key, double low, double high,
                                const char* expected) {
    if (!state.contains(key)) return std::nullopt;
    const auto number = as_number(state.at(key));
    if (!number || *number < low || *number > high) refuse(key, expected, state.at(key));
    return number;
}

std::optional<scene::Color> colour_at(const ViewState& state, const QString& key) {
    if (!state.contains(key)) return std::nullopt;
    const QVariant& value = state.at(key);
    const char* expected = "three or four numbers 0..1 or a colour name";
    try {
        if (static_cast<QMetaType::Type>(value.userType()) == QMetaType::QString) {
            return scene::Color(value.toString());
        }
        if (const auto numbers = as_numbers(value)) return scene::Color::from_rgba(*numbers);
    } catch (const utils::ValueError&) {
        // reported below, naming the key
    }
    refuse(key, expected, value);
}

// JSON has no form for infinity or NaN: Qt writes them as null, which no camera takes back.
bool holds_non_finite(const QVariant& value) {
    switch (static_cast<QMetaType::Type>(value.userType())) {
        case QMetaType::Double:
        case QMetaType::Float:
            return !std::isfinite(value.toDouble());
        case QMetaType::QVariantList: {
            const QVariantList list = value.toList();
            return std::any_of(list.begin(), list.end(), holds_non_finite);
        }
        default:
            return false;
    }
}

}  // namespace

ViewStateValues read_view_state(const ViewState& state) {
    constexpr double ANY = std::numeric_limits<double>::max();
    ViewStateValues values;
    values.distance =
        number_at(state, "distance", std::numeric_limits<double>::min(), ANY, "a positive number");
    values.elevation = number_at(state, "elevation", -ANY, ANY, "a number");
    values.azimuth = number_at(state, "azimuth", -ANY, ANY, "a number");
    values.fov = number_at(state, "fov", 0.0, 180.0, "a number from 0 to 180");
    if (state.contains("center")) {
        const auto numbers = as_numbers(state.at("center"));
        if (!numbers || numbers->size() != 3) refuse("center", "three numbers", state.at("center"));
        values.center = std::array<double, 3>{(*numbers)[0], (*numbers)[1], (*numbers)[2]};
    }
    values.bgcolor = colour_at(state, "bgcolor");
    return values;
}

AspectSetting read_aspect(const ViewState& state) {
    for (const char* key : {"aspect_method", "aspect_ratio"}) {
        if (!state.contains(key)) {
            throw utils::LookupError(
                utils::format("the view state has no \"{}\"", key).toStdString());
        }
    }
    const QVariant& method = state.at("aspect_method");
    if (static_cast<QMetaType::Type>(method.userType()) != QMetaType::QString) {
        refuse("aspect_method", "text", method);
    }
    AspectSetting aspect{method.toString(), std::nullopt};
    const QVariant& ratio = state.at("aspect_ratio");
    if (aspect.method == "Fixed" && !ratio.isNull()) {
        aspect.ratio = as_number(ratio);
        if (!aspect.ratio) refuse("aspect_ratio", "a number or null", ratio);
    }
    return aspect;
}

QByteArray view_state_to_json(const ViewState& state) {
    QByteArray json = "{";
    for (const auto& [key, value] : state) {
        if (holds_non_finite(value)) continue;
        if (json.size() > 1) json += ", ";
        json += value_text(key) + ": " + value_text(QJsonValue::fromVariant(value));
    }
    return json + "}";
}

ViewState view_state_from_json(const QByteArray& json) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        throw utils::ValueError(
            utils::format("a view state is not valid JSON: {}", error.errorString()).toStdString());
    }
    if (!document.isObject()) throw utils::ValueError("a view state must be a JSON object");
    const QJsonObject object = document.object();
    ViewState state;
    for (const QString& key : top_level_keys(json)) {
        state.insert_or_assign(key, object.value(key).toVariant());
    }
    return state;
}

}  // namespace korvex::widgets

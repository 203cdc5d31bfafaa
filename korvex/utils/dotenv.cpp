#include "korvex/utils/dotenv.h"

#include <unistd.h>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QTextCodec>

#include "korvex/utils/dotenv_parser.h"
#include "korvex/utils/logger.h"

namespace korvex::utils {

namespace {

using Definitions = QHash<QString, std::optional<QString>>;

// Environment texts are UTF-8 both ways, as for Python (which uses UTF-8 even in the
// C locale), so that both read the same values.
Definitions process_environment() {
    Definitions definitions;
    for (char** entry = environ; *entry; ++entry) {
        const QString text = QString::fromUtf8(*entry);
        const int equals = text.indexOf('=');
        if (equals > 0) definitions.insert(text.left(equals), text.mid(equals + 1));
    }
    return definitions;
}

std::optional<QString> read_text(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        logger().warning(
            format("Cannot read the environment file {}: {}", path, file.errorString()));
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QTextCodec::ConverterState state;
    const QString text =
        QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    if (state.invalidChars > 0) {
        logger().warning(
            format("The environment file {} is not UTF-8 text; nothing was read from it", path));
        return std::nullopt;
    }
    return text;
}

// ${NAME} or ${NAME:-default}, NAME looked up in `first`, then in `second`. NAME holds
// neither "}" nor ":", so "${A:B}" stays as written.
QString expand(const QString& value, const Definitions& first, const Definitions& second) {
    static const QRegularExpression variable(QStringLiteral(R"(\$\{([^}:]*)(?::-([^}]*))?\})"));
    QString result;
    int done = 0;
    auto matches = variable.globalMatch(value);
    while (matches.hasNext()) {
        const auto match = matches.next();
        result += value.midRef(done, match.capturedStart() - done);
        const QString name = match.captured(1);
        const Definitions& holder = first.contains(name) ? first : second;
        const auto found = holder.constFind(name);
        result += found != holder.cend() ? found->value_or(QString()) : match.captured(2);
        done = match.capturedEnd();
    }
    return result + value.midRef(done);
}

// setenv() cannot take these, and Python would stop loading at them.
QString unsettable_reason(const QString& key, const QString& value) {
    if (key.contains('=')) return QStringLiteral("its name contains \"=\"");
    if (key.contains(QChar(0)) || value.contains(QChar(0)))
        return QStringLiteral("it contains a NUL character");
    return {};
}

}  // namespace

DotenvValues dotenv_values(const QString& dotenv_path, DotenvPrecedence precedence) {
    if (!QFileInfo(dotenv_path).isFile()) return {};
    const std::optional<QString> text = read_text(dotenv_path);
    if (!text) return {};

    const DotenvParser parser(*text);
    for (const auto& fault : parser.faults()) {
        logger().warning(format("{}: line {} is not a KEY=VALUE statement and was skipped: {}",
                                dotenv_path, fault.line, fault.text));
    }
    const Definitions environment = process_environment();
    DotenvValues values;
    Definitions defined;  // the file's variables so far
    for (const auto& binding : parser.bindings()) {
        std::optional<QString> value = binding.value;
        if (value) {
            value = precedence == DotenvPrecedence::File ? expand(*value, defined, environment)
                                                         : expand(*value, environment, defined);
        }
        values.insert_or_assign(binding.key, value);
        defined.insert(binding.key, value);
    }
    return values;
}

bool load_dotenv(const QString& dotenv_path) {
    const DotenvValues values = dotenv_values(dotenv_path, DotenvPrecedence::Environment);
    for (const auto& [key, value] : values) {
        if (!value || qEnvironmentVariableIsSet(key.toUtf8().constData())) continue;
        const QString reason = unsettable_reason(key, *value);
        if (!reason.isEmpty()) {
            logger().warning(
                format("{}: cannot set the variable {} because {}", dotenv_path, key, reason));
            continue;
        }
        qputenv(key.toUtf8().constData(), value->toUtf8());
    }
    return !values.empty();
}

}  // namespace korvex::utils

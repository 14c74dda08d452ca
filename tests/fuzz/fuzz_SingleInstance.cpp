// Feeds arbitrary bytes to the single-instance channel's receiving side, and checks that any
// command line built by the sending side reads back as one well-formed line.
#include "platform/SingleInstance.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

namespace {

void quiet(QtMsgType, const QMessageLogContext &, const QString &) { }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool once = [] {
        qInstallMessageHandler(quiet);
        return true;
    }();
    (void)once;

    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    SingleInstance instance;
    int emitted = 0;
    const auto count = [&emitted] {
        ++emitted;
    };
    QObject::connect(&instance, &SingleInstance::focusRequested, count);
    QObject::connect(&instance, &SingleInstance::showTodayRequested, count);
    QObject::connect(&instance, &SingleInstance::newEventRequested, count);
    QObject::connect(&instance, &SingleInstance::quickAddRequested, count);
    QObject::connect(&instance, &SingleInstance::openIcsRequested, count);

    instance.dispatchCommand(bytes);
    if (emitted != 1)
        std::abort();

    // A command read from a line is sent on unchanged.
    if (const auto command = InstanceCommand::fromLine(bytes, nullptr)) {
        const auto again = InstanceCommand::fromLine(command->toLine(), nullptr);
        if (!again || again->kind != command->kind || again->text != command->text
            || again->path != command->path)
            std::abort();
    }

    // The same bytes as a command line, arguments separated by NUL bytes.
    QStringList arguments {QStringLiteral("calendar")};
    for (const QByteArray &part : bytes.split('\0'))
        arguments.append(QString::fromUtf8(part));
    const QByteArray line = SingleInstance::buildCommand(arguments);
    if (!line.endsWith('\n') || line.indexOf('\n') != line.size() - 1)
        std::abort();
    if (!QJsonDocument::fromJson(line).isObject())
        std::abort();
    emitted = 0;
    instance.dispatchCommand(line);
    if (emitted != 1)
        std::abort();
    return 0;
}

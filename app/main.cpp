#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Larkspindle"));
    QCoreApplication::setApplicationName(QStringLiteral("Calendar"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LARK_VERSION));
    return 0;
}

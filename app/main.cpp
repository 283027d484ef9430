#include "app/modMain.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tebo"));
    Main(app.arguments());
    return app.exec();
}

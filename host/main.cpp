// The desktop host. Until the record card and the contact list land, it opens
// an empty main window so the run command has something to start.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Contactos Quarvenses"));
    auto* label = new QLabel(QStringLiteral("A preparar a lista de contactos…"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.resize(800, 500);
    window.show();
    return app.exec();
}

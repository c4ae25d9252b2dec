#include <QApplication>

// The application is wired here once its windows exist; until then the executable starts and exits.
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return 0;
}

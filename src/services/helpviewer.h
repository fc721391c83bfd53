// The built-in help: a small viewer over the manual pages shipped with the
// program, opened by topic (a window's help context number), at the
// contents, or at the keyword search. F1 in any window opens its topic.
#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

namespace qrn {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // The one viewer, created on first use.
    static HelpViewer* instance();
    // Closes the viewer if it was ever opened.
    static void closeViewer();
    // Lets F1 in every window open that window's topic.
    static void installF1(QObject* application);
    // Help context of a window: its "helpContext" property, else by its class.
    static int helpContextOf(const QWidget* window);
    // Page of a help context; the contents for an unknown one.
    static QString pageOf(int helpContext);

    void showTopic(int helpContext);
    void showContents();
    // A page of the manual by its file name ("firststeps.html").
    void showPage(const QString& page);
    void showSearch(const QString& keyword = {});
    QString currentPage() const;

private:
    explicit HelpViewer();
    void filterTopics(const QString& keyword);
    void openPage(const QString& page);
    void present();

    QLineEdit* search_;
    QListWidget* topics_;
    QTextBrowser* browser_;
};

}  // namespace qrn

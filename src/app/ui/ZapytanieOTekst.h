#pragma once

#include <QString>

class QWidget;

// The standard one-line input box: caption, prompt and an edit preset with `wartosc`. On OK the
// edit's text goes back into `wartosc` and the result is true; on cancel `wartosc` is untouched.
bool InputQuery(const QString &podpis, const QString &pytanie, QString &wartosc,
                QWidget *rodzic = nullptr);

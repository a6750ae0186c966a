// A test fixture with an input window (its settings in a temporary folder) wired to a results
// window, pressing "Делать" and counting what opened modally.
#pragma once

#include "app/Unit1.h"
#include "results/Unit2.h"
#include "tests/results/ModalHelper.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

class TFormFixture : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FTemp.isValid());
        FForm = std::make_unique<TForm1>(TSettingsPlace{FTemp.filePath(QStringLiteral("p")),
                                                        FTemp.filePath(QStringLiteral("c"))});
        FForm->SetResultsWindow(&FFrmRun);
    }
    // Presses "Делать" and answers whatever opens.
    void Press() {
        FAnswerer.Records.clear();
        FForm->Button1()->click();
    }
    int Shown(const char *className) const {
        int n = 0;
        for (const TModalRecord &r : FAnswerer.Records)
            n += r.ClassName == QLatin1String(className);
        return n;
    }

    QTemporaryDir FTemp;
    TFrmRun FFrmRun;
    std::unique_ptr<TForm1> FForm;
    TModalAnswerer FAnswerer;
};

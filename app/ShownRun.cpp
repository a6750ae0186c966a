#include "app/ShownRun.h"

#include "analysis/MainData.h"

#include <QCoreApplication>

int ShownVariant(int32_t variantIndex, const TCountArray &counts1, const TCountArray &counts2) {
    if (variantIndex < 0 || variantIndex >= VariantCount) return 0;
    for (int m = 1; m <= 10; ++m) {
        if (counts1[static_cast<size_t>(m - 1)] != VariantCountOf(variantIndex, 1, m) ||
            counts2[static_cast<size_t>(m - 1)] != VariantCountOf(variantIndex, 2, m))
            return 0;
    }
    return variantIndex + 1;
}

TShownRun ShownRunOf(TRunResult run, int variant, const QString &smoothingText) {
    TShownRun shown;
    QString smoothingName = smoothingText;
    if (!smoothingName.isEmpty()) smoothingName[0] = smoothingName[0].toLower();
    shown.Heading =
        (variant > 0 ? QCoreApplication::translate("ShownRun", "вариант %1").arg(variant)
                     : QCoreApplication::translate("ShownRun", "свои данные")) +
        (smoothingName.isEmpty() ? QString() : QStringLiteral(", ") + smoothingName);
    shown.FileBase =
        variant > 0 ? QCoreApplication::translate("ShownRun", "zelvano-вариант-%1").arg(variant)
                    : QCoreApplication::translate("ShownRun", "zelvano-свои-данные");
    shown.Result = std::make_shared<const TRunResult>(std::move(run));
    return shown;
}

// The certificate's texts: "optimal", the gap in money and per cent, and the kov-batch lines.
#include "view/plan_proof.h"

#include "solver_fixture.h"

#include <gtest/gtest.h>

using namespace kov;

TEST(PlanProof, CertificateTextsAndLines) {
    LanguageShell shell = solver_fixture::numbered_texts();
    while (shell.texts.size() < 560) {
        shell.texts.push_back("T" + std::to_string(shell.texts.size()));
    }
    Certificate optimal;
    optimal.solved = true;
    optimal.plan_value = optimal.best_value = 23;
    Certificate behind = optimal;
    behind.plan_value = 15.5;
    behind.best_value = 20;
    Certificate nothing;
    nothing.solved = nothing.nothing = true; // no plan pays back: investing in nothing is best
    Certificate unsolved;
    Certificate failing = behind; // a plan that breaks the task's rules has no value
    failing.plan_value.reset();

    EXPECT_EQ(certificate_text(optimal, shell, ',', "USD"), "T551");
    EXPECT_EQ(certificate_text(behind, shell, ',', "USD"), "T552 4,50 USD (22,50 %)");
    EXPECT_EQ(certificate_text(nothing, shell, ',', "USD"), "T551");
    EXPECT_EQ(certificate_text(failing, shell, ',', "USD"), "T552 - USD");
    EXPECT_EQ(certificate_text(unsolved, shell, ',', "USD"), "-");

    const std::vector<Certificate> all{optimal, behind, nothing, unsolved, failing};
    VariantFlags shown = all_flags<VariantFlags>();
    shown[0] = false;
    EXPECT_EQ(certificate_summary(all, shell, '.', "USD", shown),
              "T553: 2: T552 4.50 USD (22.50 %); 3: T551; 5: T552 - USD");
    EXPECT_EQ(certificate_summary(all, shell, '.', "USD", VariantFlags{}), "");
    using Line = std::vector<std::string>;
    EXPECT_EQ(proof_lines(all, all_flags<VariantFlags>(), ','),
              (std::vector<Line>{{"proof", "1", "23,00", "23,00", "0,00"},
                                 {"proof", "2", "15,50", "20,00", "4,50"},
                                 {"proof", "3", "-", "-", "0,00"},
                                 {"proof", "5", "-", "20,00", "-"}}));
}

#include <gtest/gtest.h>

#include "CliRunSupport.h"
#include "form/RequirementDesign.h"

// A field the form refuses whatever N is that field's refusal, not a search
// that finds no valid design.
TEST(RequirementRefusal, AFieldTheFormRefusesReportsItsMessage)
{
    const CliResult r = RunCliArgs({"--to-spec", "--pass-band", "0:1000:0.1", "--stop-band", "1200:4000:60",
                                    "--scaling", "custom", "--scale", "20"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "The impulse response scale must be 0.1 <= x <= 10.0\n");

    const CliResult remez = RunCliArgs({"--to-spec", "--method", "remez", "--pass-band", "0:1000:0.1", "--stop-band",
                                        "1200:4000:60", "--scaling", "normalized", "--scale", "0.05"});
    EXPECT_EQ(remez.status, 1);
    EXPECT_EQ(remez.err, "The impulse response scale must be 0.1 <= x <= 10.0\n");
}

TEST(RequirementRefusal, SeedRefusalNamesTheFieldsMessage)
{
    SpecRequest request;
    request.requirement.fs = 8000;
    request.requirement.bands = {{BandKind::Pass, 0, 1000, 0.1}, {BandKind::Stop, 1200, 4000, 60}};
    FormSeed seed;
    EXPECT_FALSE(SeedRefusal(request, seed).has_value());
    seed.irScaling = 3;
    seed.irScale = "20";
    EXPECT_EQ(SeedRefusal(request, seed), "The impulse response scale must be 0.1 <= x <= 10.0");
    seed.irScale = "123456789";
    EXPECT_EQ(SeedRefusal(request, seed), "Please enter no more than 8 characters.");
    // Natural scaling takes 1 whatever the text says.
    seed.irScaling = 0;
    seed.irScale = "20";
    EXPECT_FALSE(SeedRefusal(request, seed).has_value());
}

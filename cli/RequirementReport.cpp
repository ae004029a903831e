#include "cli/RequirementReport.h"

#include "cli/CliRunner.h"
#include "document/DesignJson.h"

using OrderedJson = nlohmann::ordered_json;

OrderedJson ToSpecReport::Build(const CliRunner& runner)
{
    if (!runner.SpecResult() || !runner.SpecRequestUsed())
        return nullptr;
    const SpecRequest& request = *runner.SpecRequestUsed();
    return RequirementJson(request, *runner.SpecResult());
}

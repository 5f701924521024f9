// Whose run it is: the patient's code typed before Start, how their runs are measured (their
// last setup unless changed), and a new patient made at Start.
#include "core/console/console.h"
#include "core/console/notices.h"
#include "core/patient/patient_code.h"

namespace limenta {

void Console::setUp(const Setup& setup) {
    if (!runInputsLocked_ && !setupProblem(setup)) {
        setup_ = trimmedSetup(setup);
    }
    refresh();
}

void Console::typePatient(std::string text) {
    patientTyped_ = std::move(text);
    if (!runInputsLocked_) {
        if (const auto known = host_.knownPatient(trimSpaces(patientTyped_))) {
            setup_ = known->lastSetup;
        }
    }
}

bool Console::patientRefused() {
    if (practising()) {
        return false;  // a virtual patient is no one's
    }
    const std::optional<std::string> problem = patientCodeProblem(patientTyped_);
    if (problem) {
        effect(ShowMessage{"Cannot start: the Patient field " + *problem + "."});
    }
    return problem.has_value();
}

void Console::takePatient() {
    runPatient_.clear();
    runSetup_ = {};
    const std::string code = trimSpaces(patientTyped_);
    if (practising() || code.empty()) {
        return;
    }
    const std::optional<KnownPatient> known = host_.knownPatient(code);
    runPatient_ = known ? known->code : code;
    runSetup_ = setup_;
    if (!known && host_.keepingRuns()) {
        tell(notice::fillIn(notice::kNewPatient, {code}));
    }
    view_.title = std::string(kWindow1Title) + "\u2013 " + runPatient_;
}

}  // namespace limenta

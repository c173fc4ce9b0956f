#include "database/CallBatch.h"

#include "database/StoredProcedure.h"
#include "infra/ZelkaExceptions.h"

void CCallBatch::add(const std::string& procedure, std::unique_ptr<CParameters> list, std::string target,
                     bool readOutputs, Done done)
{
    calls_.push_back(Queued{procedure, std::move(list), std::move(target), readOutputs, std::move(done)});
}

void CCallBatch::flush()
{
    zelkaOperation(__FILE__, "CCallBatch::flush", [&] {
        // The calls queued so far; completions queue into calls_ afresh.
        std::vector<Queued> sending = std::move(calls_);
        calls_.clear();
        sp_.setCommandTimeout(timeout_);
        size_t next = 0;
        while (next < sending.size()) {
            std::vector<CStoredProcedure::BatchCall> batch;
            size_t inputs = 0;
            size_t from = next;
            for (; next < sending.size() && batch.size() < kMaxCalls; ++next) {
                const Queued& q = sending[next];
                size_t these = 0;
                for (int32_t i = 0; i < q.list->getCount(); ++i)
                    if (q.list->getAt(i).getDirection() != PARAMETER_OUTPUT) ++these;
                if (!batch.empty() && inputs + these > kMaxInputs) break;
                inputs += these;
                batch.push_back(CStoredProcedure::BatchCall{q.procedure, q.list.get(), q.readOutputs, q.target});
            }
            sp_.execBatch(batch, [&](size_t i) {
                Queued& q = sending[from + i];
                if (q.done) q.done(*q.list);
            });
        }
    });
}

// SPDX-License-Identifier: MIT
#include "formula/plan.h"

#include <bit>
#include <new>

#include "formula/arithmetic.h"
#include "formula/evaluate.h"
#include "formula/names.h"
#include "numbers/failures.h"
#include "numbers/function_values.h"
#include "numbers/separator.h"

namespace kurvilo::detail {

Fixed4 functionValue(Function function, Fixed4 argument) {
    switch (function) {
        case Function::Sine:
            return sineValue(argument);
        case Function::Cosine:
            return cosineValue(argument);
        case Function::Tangent:
            return tangentValue(argument);
        case Function::Log:
            return naturalLogValue(argument);
        case Function::Exp:
            break;
    }
    return exponentialValue(argument);
}

bool Plan::run(const FormulaTexts& texts, const CancellationToken* cancel, Fixed4& result) {
    // A cancelled evaluation ends with EAbort, which the rewriting raises at its first check.
    if (cancel != nullptr && cancel->cancelled()) return false;
    // Each name's text read once, as the substitution's atom of it would be: a plain number is
    // its value; anything else needs the rewriting.
    const std::string_view separator = decimalSeparatorUtf8();
    for (unsigned slots = namesRead_; slots != 0; slots &= slots - 1) {
        const auto slot = static_cast<std::size_t>(std::countr_zero(slots));
        const std::string_view text = slot < texts.values.size()
                                          ? texts.values[slot]
                                          : texts.constants[slot - texts.values.size()];
        std::int64_t units = 0;
        if (!parsePlainNumber(text, separator, units)) return false;
        registers_[kFirstNameRegister + slot] = Fixed4::fromUnits(units);
    }
    registers_[kCounterRegister] = Fixed4();
    try {
        if (!execute(cancel)) return false;
    } catch (const Failure&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    result = registers_[result_];
    return true;
}

bool Plan::execute(const CancellationToken* cancel) {
    Fixed4* const r = registers_.data();
    const Operation* const operations = operations_.data();
    const std::size_t count = operations_.size();
    std::int64_t n = 0;  // the index of the summation term being run (terms never nest here)
    for (std::size_t pc = 0; pc < count; ++pc) {
        const Operation& op = operations[pc];
        switch (op.code) {
            case OpCode::Product:
                r[op.target] = scanProduct(r[op.left], r[op.right]);
                break;
            case OpCode::Quotient:
                r[op.target] = scanQuotient(r[op.left], r[op.right]);
                break;
            case OpCode::Plus:
                r[op.target] = scanSum(r[op.left], r[op.right], true);
                break;
            case OpCode::Minus:
                r[op.target] = scanSum(r[op.left], r[op.right], false);
                break;
            case OpCode::Power: {
                const Fixed4 base = r[op.left];
                if (base.units() == 0) {
                    r[op.target] = Fixed4();  // the exponent is not even read
                    break;
                }
                Fixed4 power;
                if (!scanPower(base, r[op.right], power)) {
                    r[op.exitTarget] = r[op.exitValue];
                    pc = op.next - 1;
                    break;
                }
                r[op.target] = power;
                break;
            }
            case OpCode::Apply:
                r[op.target] = functionValue(op.function, r[op.left]);
                break;
            case OpCode::Move:
                r[op.target] = r[op.left];
                break;
            case OpCode::SumStart:
                if (cancel != nullptr && cancel->cancelled()) return false;
                r[op.target] = Fixed4();
                n = op.lower;
                r[kCounterRegister] = Fixed4::fromInteger(op.lower);
                break;
            case OpCode::SumNext:
                r[op.target] = add(r[op.target], r[op.left]);
                if (n < op.upper) {
                    if (cancel != nullptr && cancel->cancelled()) return false;
                    ++n;
                    r[kCounterRegister] = Fixed4::fromInteger(static_cast<std::int32_t>(n));
                    pc = op.next - 1;
                }
                break;
            case OpCode::SetCounter:
                r[kCounterRegister] = Fixed4::fromInteger(op.upper);
                break;
        }
    }
    return true;
}

PlanRecorder::PlanRecorder() {
    plan_.registers_.assign(kFirstFreeRegister, Fixed4());
    plan_.registers_[kPiRegister] = Fixed4::fromUnits(kPiUnits);
}

std::uint32_t PlanRecorder::allocate() {
    const auto index = static_cast<std::uint32_t>(plan_.registers_.size());
    plan_.registers_.emplace_back();
    return index;
}

Fixed4 PlanRecorder::constant(Fixed4 value) {
    const std::uint32_t index = allocate();
    plan_.registers_[index] = value;
    return registerValue(index);
}

Fixed4 PlanRecorder::name(unsigned slot) {
    plan_.namesRead_ |= 1u << slot;
    return registerValue(kFirstNameRegister + slot);
}

Fixed4 PlanRecorder::binary(OpCode code, Fixed4 left, Fixed4 right) {
    Operation op{code};
    op.target = allocate();
    op.left = registerIndex(left);
    op.right = registerIndex(right);
    plan_.operations_.push_back(op);
    return registerValue(op.target);
}

Fixed4 PlanRecorder::power(Fixed4 base, Fixed4 exponent, Fixed4 sumSoFar) {
    const Fixed4 target = binary(OpCode::Power, base, exponent);
    plan_.operations_.back().exitValue = registerIndex(sumSoFar);
    exits_.push_back(plan_.operations_.size() - 1);
    return target;
}

Fixed4 PlanRecorder::apply(Function function, Fixed4 argument) {
    Operation op{OpCode::Apply};
    op.function = function;
    op.target = allocate();
    op.left = registerIndex(argument);
    plan_.operations_.push_back(op);
    return registerValue(op.target);
}

Fixed4 PlanRecorder::finishReduction(Fixed4 value) {
    if (exits_.empty()) return value;
    Operation move{OpCode::Move};
    move.target = allocate();
    move.left = registerIndex(value);
    plan_.operations_.push_back(move);
    const auto after = static_cast<std::uint32_t>(plan_.operations_.size());
    for (const std::size_t exit : exits_) {
        plan_.operations_[exit].exitTarget = move.target;
        plan_.operations_[exit].next = after;
    }
    exits_.clear();
    return registerValue(move.target);
}

Fixed4 PlanRecorder::startSum(std::int32_t lower, std::int32_t upper) {
    Operation op{OpCode::SumStart};
    op.target = allocate();
    op.lower = lower;
    op.upper = upper;
    plan_.operations_.push_back(op);
    sumStart_ = plan_.operations_.size();
    return registerValue(op.target);
}

void PlanRecorder::finishSum(Fixed4 total, Fixed4 body) {
    const Operation& start = plan_.operations_[sumStart_ - 1];
    Operation op{OpCode::SumNext};
    op.target = registerIndex(total);
    op.left = registerIndex(body);
    op.next = static_cast<std::uint32_t>(sumStart_);
    op.upper = start.upper;
    plan_.operations_.push_back(op);
}

Fixed4 PlanRecorder::emptySum(std::int32_t upper) {
    Operation op{OpCode::SetCounter};
    op.upper = upper;
    plan_.operations_.push_back(op);
    return registerValue(kZeroRegister);
}

Plan PlanRecorder::finish(Fixed4 result) {
    plan_.result_ = registerIndex(result);
    return std::move(plan_);
}

}  // namespace kurvilo::detail

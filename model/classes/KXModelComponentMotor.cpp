#include "model/classes/KXModelComponentMotor.h"

KXModelComponentMotor::KXModelComponentMotor(const std::string& name) : KXBaseModelComponentMotor(name) {}

KXModelComponentMotor::KXModelComponentMotor(const KXModelComponentMotor& source)
    : KXBaseModelComponentMotor(source) {}

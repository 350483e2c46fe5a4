#include <marlint/marlint.h>

#include <iostream>
#include <string>

int main() {
  const std::string pointFile =
      "1,1,True\n"
      "C,Temp1,SAMPLE,,500,MILLIMETRE,Path,,1,String,R,,100,\n";
  const marlint::CheckResult result = marlint::checkBytes(pointFile);
  std::cout << result.resultText << '\n';  // "OK", or the message of the first fault
  for (const marlint::Fault& fault : result.faults) {
    std::cout << "line " << fault.line << ", column " << fault.column << ": " << fault.columnName
              << '\n';
  }
  return result.status == 0 ? 0 : 1;
}

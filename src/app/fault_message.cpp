#include "fault_message.h"

namespace diaspring::app {

QString faultMessage(const QString& action, const Fault& fault) {
  const std::string_view name = faultNameZh(fault.kind());
  QString text = QStringLiteral("执行“%1”时计算出错：%2。")
                     .arg(action, QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
  if (!fault.cause().empty())
    text += QStringLiteral("\n原因：%1").arg(QString::fromStdString(fault.cause()));
  text += QStringLiteral("\n出错之前已经算出并显示的结果保留不变；请检查输入后重试。");
  return text;
}

}  // namespace diaspring::app
